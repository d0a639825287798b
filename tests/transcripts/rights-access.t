# The rights test as an ordinary user: the others bit, or the owner's own bit; a path that does not
# resolve has no rights. chmod by the owner applies every letter, one by one; others may not chmod.
# cat and vi -i test the file itself, rm the folder that holds it (/etc/passwd/bob is -w--w--w-).
@ users anna bob
@ as bob
@ poke inode 1 0 02 00 80 01
@ poke inode 3 0 02 00 07 00
@ poke inode 22 2 92 00
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

[bob @fs5 /dev/ ]$ cat /etc/passwd/bob

Access denied.
You can not view the contents of the "bob" file.

[bob @fs5 /dev/ ]$ vi g

The file "g" was created successfully.

[bob @fs5 /dev/ ]$ chmod u-w g

The user rights before changing:
rw- r-- r-- 
The user rights after changing:
r-- r-- r-- 
The user rights for the folder or file "g" were successfully changed.

[bob @fs5 /dev/ ]$ vi -i g

Access denied.
You can not write in and save the "g" file.

[bob @fs5 /dev/ ]$ rm g

Delete file with all its content?
("Enter" - yes, "Esc" + "Enter"- no)
«y»
Erasing the file "g"
Deleting file: "g".

