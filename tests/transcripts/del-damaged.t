# Damaged trees. rmdir ends when a child path would be deeper than 8 components (/tmp names
# itself as x) and at the first child that can not be deleted (anna's home, its i-node marked
# free; bob's entry moves into its slot and stays reachable). deluser then finds no home:
# "not deleted completely". End of input at rm's question counts as Escape.
@ users anna bob
@ eof
@ poke imap 21 0 00
@ poke block 20 0 03 00
@ poke block 20 66 0f 00 78
[root @fs5 /root/ ]# rmdir /tmp

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»
! The maximum pathname depth can not exceed 8 levels.
! The pathname was not deshifrated.

[root @fs5 /root/ ]# rmdir /home

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»

! This entry in file table is already empty.
! The folder "anna "was not deleted.

[root @fs5 /root/ ]# deluser anna


! Folder or file "anna" not found.
The user account "anna" was not deleted completely.

[root @fs5 /root/ ]# rm /etc/passwd/root

Delete file with all its content?
("Enter" - yes, "Esc" + "Enter"- no)

fs5ck: i-node 21: free but its record is not all zero.
fs5ck: /tmp/x: names i-node 15 (/tmp), a folder on its own path.
