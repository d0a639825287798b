# vi -i on a file listing a datablock that is free in the map: the erase's checks fail before
# the typing, with the erase's lines, and nothing is read as typing
[root @fs5 /root/ ]# vi g

The file "g" was created successfully.

? poke inode 20 206 02 00
? poke inode 20 8 1b 00
[root @fs5 /root/ ]# vi -i g

! This datablock is already free.
! The datablock with the index: 1 in the list of the file "g" 
! (number: 27) was not deleted.
! The file was not erased.
fs5ck: i-node 20: lists datablock 27, which is free in the map.
