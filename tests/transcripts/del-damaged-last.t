# rmdir ends at a child that can not be deleted when it is the folder's last entry too (anna's
# home, its i-node marked free): the entry is gone, the folder that held it stays.
@ users anna
@ poke imap 21 0 00
[root @fs5 /root/ ]# rmdir /home

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»

! This entry in file table is already empty.
! The folder "anna"was not deleted.

[root @fs5 /root/ ]# ls /home

The folder "home" content:

home          i-node
 ├ .             5
 └ ..            0


fs5ck: i-node 21: free but its record is not all zero.
