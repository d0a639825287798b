# adduser and deluser. Names no account can have and an existing home folder are refused
# before the password dialogue; root and invalid names can not be deleted; anna's leftover
# /tmp passes to root; bob gets her number and i-nodes, a rw------- account file and a
# 30-character password; a second bob gives its number back; dan's home can not be made
# (i-node 24 is not clean), so his account is undone; end of input in the dialogue makes nothing
@ users anna
@ eof
@ poke inode 15 0 01 00
@ poke inode 24 0 01
[root @fs5 /root/ ]# adduser exit

The user name "exit" is not valid.

[root @fs5 /root/ ]# mkdir /home/carl

The folder "carl" was created successfully.

[root @fs5 /root/ ]# adduser carl

The home folder "carl" already exists.

[root @fs5 /root/ ]# deluser root

The superuser "root" account can not be deleted.

[root @fs5 /root/ ]# deluser ..

The user ".." does not exist.
There is no user account to delete.

[root @fs5 /root/ ]# deluser anna



The remaining folders and files of "anna" now belong to "root".
The user account "anna" was successfully deleted.

[root @fs5 /root/ ]# adduser bob


Enter the user password (max. 30 tokens):
«qqqqqqqqqqqqqqqqqqqqqqqqqqqqqq»

The user account "bob" was successfully created.

[root @fs5 /root/ ]# 
? inode 20
owner 0 mode 180 type 2 blocks 26
[root @fs5 /root/ ]# adduser bob


Enter the user password (max. 30 tokens):
«pw»
The user "bob" already exists.

[root @fs5 /root/ ]# 
[root @fs5 /root/ ]# adduser dan


Enter the user password (max. 30 tokens):
«pw»
! Free blocks list failure. This i-node block is not free.
! Can not create folder "dan".
The user account "dan" was not created.

[root @fs5 /root/ ]# 
? maps
inodes 0-22, blocks 0-30, users 0-1
[root @fs5 /root/ ]# adduser eve


Enter the user password (max. 30 tokens):

fs5ck: i-node 24: free but its record is not all zero.
