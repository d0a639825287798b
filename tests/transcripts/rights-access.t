# The rights test as an ordinary user: the others bit, or the owner's own bit; a path that does not
# resolve has no rights. chmod by the owner applies every letter, one by one; others may not chmod.
@ users anna bob
@ as bob
@ poke inode 1 0 02 00 80 01
@ poke inode 3 0 02 00 07 00
[bob @fs5 /home/bob/ ]$ mkdir /bin/x

The folder "x" was created successfully.

[bob @fs5 /home/bob/ ]$ cd /bin

Access denied.
You can not move to "bin" folder.

[bob @fs5 /home/bob/ ]$ mkdir /nosuch/x

Access denied.
You can not make the "x" folder.

[bob @fs5 /home/bob/ ]$ cd /dev


[bob @fs5 /dev/ ]$ chmod u-rx /home/bob

The user rights before changing:
rwx r-x r-x 
The user rights after changing:
-wx r-x r-x 
The user rights before changing:
-wx r-x r-x 
The user rights after changing:
-w- r-x r-x 
The user rights for the folder or file "bob" were successfully changed.

[bob @fs5 /dev/ ]$ chmod o+w /

You can not change the object "/" rights.

