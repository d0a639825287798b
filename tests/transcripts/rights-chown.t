# chown gives the working folder to an account found afresh; a chmod whose object does not resolve
# is refused for the superuser too
@ users anna bob
[root @fs5 /root/ ]# cd /home/anna


[root @fs5 /home/anna/ ]# chown bob


? inode 21
owner 2 mode 1ed type 1 blocks 28
[root @fs5 /home/anna/ ]# chmod u+r nosuch

! Folder or file "nosuch" not found.
You can not change the object "nosuch" rights.

[root @fs5 /home/anna/ ]# deluser bob


The remaining folders and files of "bob" now belong to "root".
The user account "bob" was successfully deleted.

[root @fs5 /home/anna/ ]# chown bob

! The username "bob" not found.
