# mkdir and vi: a new folder and file owned by the user, the parent growing by a datablock,
# and the creation refusals, none of which allocates anything
@ users anna
@ as anna
[anna @fs5 /home/anna/ ]$ mkdir docs

The folder "docs" was created successfully.

[anna @fs5 /home/anna/ ]$ vi f

The file "f" was created successfully.

? inode 23
owner 1 mode 1a4 type 2 blocks 30
? inode 21
owner 1 mode 1ed type 1 blocks 28 31
[anna @fs5 /home/anna/ ]$ vi docs

! The folder or file "docs" already exists.

[anna @fs5 /home/anna/ ]$ mkdir ..

! The folder or file ".." already exists.

[anna @fs5 /home/anna/ ]$ mkdir f/y

! Can not create folder "y".

[anna @fs5 /home/anna/ ]$ mkdir ./

! Can not create folder "".

