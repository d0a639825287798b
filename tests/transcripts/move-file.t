# mv: a rename keeps the slot, folders grow and shrink by a datablock, a replaced file is
# deleted, refusals (onto itself by i-node, a file as folder part, an existing entry of the
# name, a new name over 30 characters); "mv /a/f /a" changes nothing (the depth rule:
# move-depth.t)
@ users anna
[root @fs5 /root/ ]# cp /etc/passwd/root /mnt

The file "root" was successfully copied.

[root @fs5 /root/ ]# cp /etc/passwd/anna /mnt

The file "anna" was successfully copied.

[root @fs5 /root/ ]# mv /mnt/root /mnt/r


! The file "root" was successfully renamed and moved.

? folder 13
count 3: 0 .. 10 . 22 r
[root @fs5 /root/ ]# mv /mnt/anna /etc

! The file "anna" was successfully moved.

? inode 4
owner 0 mode 1ed type 1 blocks 5 32
[root @fs5 /root/ ]# mv /etc/anna /mnt/r

! The file "anna" was successfully moved.

[root @fs5 /root/ ]# mv /mnt/anna /mnt/./anna

! You can not move a file onto itself.
«»

[root @fs5 /root/ ]# mv /mnt/anna /mnt/anna/x

! The moving of the file failed.
Press Enter to continue.

[root @fs5 /root/ ]# mv /mnt/anna /home

! The folder or file "anna" already exists.

[root @fs5 /root/ ]# mv /mnt/anna /etc/passwd/root

! The folder or file "anna" already exists.

[root @fs5 /root/ ]# mv /mnt/anna /mnt

! The file "anna" was successfully moved.

[root @fs5 /root/ ]# mv /mnt/anna /mnt/abcdefghijabcdefghijabcdefghijX

! Foldername (filename) can not exceed 30 symbols.

[root @fs5 /root/ ]# mv /mnt/anna /nosuch/g

! Folder or file "nosuch" not found.
! The moving of the file failed.
Press Enter to continue.

? folder 13
count 3: 0 .. 10 . 23 anna
