# cp of a file: into a folder and over a file (content, rights, the first block reused, the
# rest freed), a file or folder of the name in the destination folder, onto itself, refusals,
# and the disk running full. The header makes the datablock area 32 blocks long: the user map
# moves to byte 142, user 0 is marked there and its old byte cleared.
@ poke header 0 4 8e 00
@ poke bmap 32 0 01
@ poke umap 0 0 00
[root @fs5 /root/ ]# vi /tmp/f

The file "f" was created successfully.

[root @fs5 /root/ ]# vi -i /tmp/f

Erasing the file "f"
Press "Esc", then "Enter" to finish your input and save the file.
Input the data here:
«aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbcccccccccccccccccccccccccccccccccccccccccccccccccc\x1b»

[root @fs5 /root/ ]# 
[root @fs5 /root/ ]# cp /tmp/f /mnt

The file "f" was successfully copied.

? block 31
cccccccccccccccccccccccccccccccccccccccccccccccccc\x1b
[root @fs5 /root/ ]# cp /tmp/f /mnt

The file "f" was successfully copied.

[root @fs5 /root/ ]# cp /etc/passwd/root /mnt/f

The file "root" was successfully copied.

? inode 21
owner 0 mode 180 type 2 blocks 29
[root @fs5 /root/ ]# cp /etc/passwd/root /

! The folder or file "root" already exists.

[root @fs5 /root/ ]# cp /tmp/f /tmp/../tmp/f

! You can not copy a file onto itself.

[root @fs5 /root/ ]# cp /tmp/f /tmp

! You can not copy a file onto itself.

[root @fs5 /root/ ]# cp /tmp/f /mnt/././././././.

! The maximum pathname depth can not exceed 8 levels.
! The pathname was not deshifrated.

[root @fs5 /root/ ]# cp /mnt /tmp

! The source of copying is not a file.
«»

[root @fs5 /root/ ]# cp /tmp/f /nosuch

! Folder or file "nosuch" not found.
! The destination of copying is neither a folder nor a file.
«»

[root @fs5 /root/ ]# cp /tmp/f /opt

! There are no free datablocks.

[root @fs5 /root/ ]# cp /tmp/f /mnt/f

! There are no free datablocks.

? inode 21
owner 0 mode 180 type 2 blocks 29
? block 29

[root @fs5 /root/ ]# cp -R /opt /root

! There are no free datablocks.
! Can not create file "f".
! The folder "opt" was not copied completely.

[root @fs5 /root/ ]# cp /etc/passwd/root /var

! There are no free datablocks.
! Can not create file "root".

[root @fs5 /root/ ]# mv /mnt/f /opt/g

! There are no free datablocks.
! Can not create daughter file"g".

