# mv: the depth that counts is where the file would really lie, the levels of the receiving
# folder in the tree, not the components typed: /mnt/b/../b/../b/../b is /mnt/b; a folder that
# really is 8 deep (made by copying a tree into a copy of itself) takes no file
[root @fs5 /root/ ]# mkdir /mnt/b

The folder "b" was created successfully.

[root @fs5 /root/ ]# cp -R /mnt /tmp

The folder "mnt" was successfully copied.

[root @fs5 /root/ ]# cp -R /tmp /mnt/b

The folder "tmp" was successfully copied.

[root @fs5 /root/ ]# cp -R /mnt /tmp/mnt/b

The folder "mnt" was successfully copied.

[root @fs5 /root/ ]# vi /tmp/f

The file "f" was created successfully.

[root @fs5 /root/ ]# mv /tmp/f /mnt/b/../b/../b/../b

! The file "f" was successfully moved.

[root @fs5 /root/ ]# mv /mnt/b/f /tmp/mnt/b/mnt/b/tmp/mnt/b

! The maximum pathname depth can not exceed 8 levels.
! The pathname was not deshifrated.

