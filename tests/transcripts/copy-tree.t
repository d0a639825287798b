# cp -R copies depth first (/tmp/home 25, anna 26, anna/root 27, bob 28), each copied folder's
# ".." names its new parent and folders keep their rights (anna's home is rwx------);
# refusals; a child too deep to name (anna/root at the ninth level) is skipped, the walk goes
# on (bob's copy is 31) and the copy is reported incomplete
@ users anna bob
@ poke inode 21 2 c0 01
[root @fs5 /root/ ]# cp /etc/passwd/root /home/anna

The file "root" was successfully copied.

[root @fs5 /root/ ]# cp -R /home /tmp

The folder "home" was successfully copied.

? folder 34
count 3: 25 .. 26 . 27 root
? inode 26
owner 1 mode 1c0 type 1 blocks 34
[root @fs5 /root/ ]# cp -R /home /tmp

! The folder or file "home" already exists.

[root @fs5 /root/ ]# cp -R /home /home

! The destination of copying is inside the source folder.

[root @fs5 /root/ ]# cp -R / /tmp

! The destination of copying is inside the source folder.

[root @fs5 /root/ ]# cp -R /home /mnt/././././.

! The maximum pathname depth can not exceed 8 levels.
! The pathname was not deshifrated.
! The folder "home" was not copied completely.

? inode 31
owner 2 mode 1ed type 1 blocks 40
[root @fs5 /root/ ]# cp -R /etc/passwd/root /tmp

! The source of copying is not a folder.
«»

