# rm and rmdir. Root makes a tree in anna's home: x holds b (holding g) and f, so x grows a
# second block. anna may delete root's objects there (only the holder's write right counts,
# nothing below is tested), but not root's account file, nor her working folder by its text,
# nor ".."; rm refuses a folder. Escape keeps the tree (its Enter answers the wait); then
# rmdir deletes g, b, f (moved into b's slot: an empty line) and x, clearing the screen once
# per folder, and fs5ck finds every block and i-node given back
@ users anna
[root @fs5 /root/ ]# mkdir /home/anna/x

The folder "x" was created successfully.

[root @fs5 /root/ ]# mkdir /home/anna/x/b

The folder "b" was created successfully.

[root @fs5 /root/ ]# vi /home/anna/x/b/g

The file "g" was created successfully.

[root @fs5 /root/ ]# vi /home/anna/x/f

The file "f" was created successfully.

[root @fs5 /root/ ]# rmdir /

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»
! The root folder "/" can not be destroyed.

[root @fs5 /root/ ]# reenter

Login: «anna»

Password: «anna»

[anna @fs5 /home/anna/ ]$ 
[anna @fs5 /home/anna/ ]$ rm /etc/passwd/root

Access denied.
You can not delete the "root" file.

[anna @fs5 /home/anna/ ]$ rmdir /home/anna

You can not delete a folder while you are in it.
[anna @fs5 /home/anna/ ]$ rmdir ..

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»
! The folder ".." can not be deleted.

[anna @fs5 /home/anna/ ]$ rm ..

Delete file with all its content?
("Enter" - yes, "Esc" + "Enter"- no)
«y»
! ".." is a folder,not a file.

[anna @fs5 /home/anna/ ]$ rmdir x

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«\x1b»

[anna @fs5 /home/anna/ ]$ rmdir x

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»



Deleting folder: "x".

