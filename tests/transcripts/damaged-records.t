# Numbers out of range and records that are neither folders nor files, met by commands: the
# out-of-range line or a line naming the object, said once, never a success (cd stays where
# it is), and never "a folder" or "a file" for what is neither. /boot lists datablock -1,
# /var names i-node 300, /usr's type is 3
@ users anna
@ eof
@ poke inode 2 6 02 00 ff ff
@ poke inode 2 206 02 00
@ poke block 23 2 2c 01
@ poke inode 16 4 03 00
[root @fs5 /root/ ]# ls /boot

! The datablock index -1 is out of range.

[root @fs5 /root/ ]# mkdir /boot/x

! The datablock index -1 is out of range.
! Can not create folder "x".

[root @fs5 /root/ ]# cat /var

! The i-node number 300 is out of range.
[root @fs5 /root/ ]# cd /var

! The i-node number 300 is out of range.
[root @fs5 /root/ ]# ls /

! The i-node number 300 is out of range.

[root @fs5 /root/ ]# rmdir /usr

! "usr" is neither a folder nor a file.
? poke inode 21 4 03 00
[root @fs5 /root/ ]# cp -R /home /tmp

! "anna" is neither a folder nor a file.
! The folder "home" was not copied completely.

? poke inode 19 206 00 00
[root @fs5 /root/ ]# vi -i /etc/passwd/root

! "root" lists no datablock.
[root @fs5 /root/ ]# cp /etc/passwd/root /tmp

! "root" lists no datablock.

? poke block 27 2 e8 03
[root @fs5 /root/ ]# reenter

Login: «anna»

Password: «anna»

! The i-node number 1000 is out of range.
Wrong login.
Press "Enter" to continue.

Login: 
fs5ck: i-node 2: lists datablock -1, outside the datablock area.
fs5ck: i-node 16: used but its type is 3, neither 1 (folder) nor 2 (file).
fs5ck: i-node 19: block count is 0, not 1 to 100.
fs5ck: i-node 19: unlisted block slot 0 holds 25, not 0.
fs5ck: i-node 21: used but its type is 3, neither 1 (folder) nor 2 (file).
fs5ck: datablock 25: used but listed by no i-node.
fs5ck: /boot: datablock 2 holds 2 entries but is not the folder's last.
fs5ck: /etc/passwd/anna: names i-node 1000, outside the i-node table.
fs5ck: /var: names i-node 300, outside the i-node table.
fs5ck: i-node 17: used but reached by no entry.
fs5ck: i-node 20: used but reached by no entry.
fs5ck: user number 0: the superuser's number is held by no account.
fs5ck: user number 1: used but held by no account.
