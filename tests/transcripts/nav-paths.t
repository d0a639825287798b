# Paths as the superuser: ".." and "../" up to and at the root, then relative paths from it; depth
# and length limits; empty and over-long components; a file inside a path; creations refused for
# "/" and a missing parent; the superuser passes a folder without any rights (/opt)
@ poke inode 11 2 00 00
[root @fs5 /root/ ]# cd ..


[root @fs5 / ]# cd home


[root @fs5 /home/ ]# cd ../


[root @fs5 / ]# cd ..

! You can not move upper than "/" folder.
[root @fs5 / ]# cd opt


[root @fs5 /opt/ ]# cd a/b/c/d/e/f/g/h

! The maximum pathname depth can not exceed 8 levels.
! The pathname was not deshifrated.
[root @fs5 /opt/ ]# mkdir a/b/c/d/e/f/g/h

! The maximum pathname depth can not exceed 8 levels.
! The pathname was not deshifrated.
[root @fs5 /opt/ ]# cd bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb/bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb

! The maximum pathname length can not exceed 239 symbols.
! The pathname was not deshifrated.
[root @fs5 /opt/ ]# cd /aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/b
! The maximum pathname length can not exceed 239 symbols.
! The pathname was not deshifrated.


[root @fs5 /root/ ]# ls /etc/

! Folder or file "" not found.
[root @fs5 /root/ ]# ls /etc/passwd/root/x

! Folder or file "x" not found.
[root @fs5 /root/ ]# mkdir nosuch/x

! Folder or file "nosuch" not found.
! Can not create folder "x".

[root @fs5 /root/ ]# mkdir /

! Can not create folder "/".

[root @fs5 /root/ ]# mkdir nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn

The folder "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn" was created successfully.

[root @fs5 /root/ ]# cd nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn


[root @fs5 /root/nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn/ ]# mkdir ccccccccccccccccccccccccccccccc

! Foldername (filename) can not exceed 30 symbols.

[root @fs5 /root/nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn/ ]# cd /tmp/ccccccccccccccccccccccccccccccc

! Folder or file "ccccccccccccccccccccccccccccccc" not found.
