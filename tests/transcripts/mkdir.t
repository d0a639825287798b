# mkdir makes a folder owned by the user; refusals change nothing
@ users anna
@ as anna
[anna @fs5 /home/anna/ ]$ mkdir docs

The folder "docs" was created successfully.

? inode 22
owner 1 mode 1ed type 1 blocks 29
? maps
inodes 0-22, blocks 0-29, users 0-1
[anna @fs5 /home/anna/ ]$ mkdir /x

Access denied.
You can not make the "x" folder.

[anna @fs5 /home/anna/ ]$ ls docs

The folder "docs" content:

docs          i-node
 ├ .            22
 └ ..           21


[anna @fs5 /home/anna/ ]$ rm nothing

! Folder or file "nothing" not found.
