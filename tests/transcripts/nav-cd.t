# cd and ls as an ordinary user: relative and "../" paths, files, home; execute and read tested apart
@ users anna bob
@ as anna
@ poke inode 23 2 c1 01
[anna @fs5 /home/anna/ ]$ cat /etc

! "etc" is a folder,not a file.

[anna @fs5 /home/anna/ ]$ cd ../../etc/passwd


[anna @fs5 /home/../etc/passwd/ ]$ cd anna

"anna" is a file, not a folder. You can not move into it.
[anna @fs5 /home/../etc/passwd/ ]$ ls anna

"anna" is a file, not a folder. You can not see its content with this command.
Use "cat" command to see a file's content.
[anna @fs5 /home/../etc/passwd/ ]$ cd


[anna @fs5 /home/anna/ ]$ cd ../bob


[anna @fs5 /home/bob/ ]$ ls .

Access denied.
You can not print the contents of the "bob" folder.

[anna @fs5 /home/bob/ ]$ ls ..

The folder "home" content:

home          i-node
 ├ .             5
 ├ ..            0
 ├ anna         21
 └ bob          23


[anna @fs5 /home/bob/ ]$ ls

Access denied.
You can not print the contents of the "bob" folder.

