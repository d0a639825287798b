# ls -l: folders, then files, each in byte order (equal names in folder order); widths; owners by name
@ users anna bob alexander
@ poke block 6 66 19 00
@ poke block 31 34 15 00 61 6e 6e 61 00
@ poke inode 23 0 09 00
[root @fs5 /root/ ]# vi /home/B

The file "B" was created successfully.

[root @fs5 /root/ ]# vi /home/é

The file "é" was created successfully.

[root @fs5 /root/ ]# mkdir /home/WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW

The folder "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW" was created successfully.

[root @fs5 /root/ ]# ls -l /home

The folder "home" content:

home          i-node
 ├ .             5      rwx r-x r-x   root
 ├ ..            0      rwx r-x r-x   root
 ├ WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW28      rwx r-x r-x   root
 ├ anna         25      rwx r-x r-x alexander
 ├ anna         21      rwx r-x r-x   anna
 ├ bob          23      rwx r-x r-x   root
 ╟ B            26      rw- r-- r--   root
 ╚ é           27      rw- r-- r--   root


fs5ck: /home: the name "anna" is entered more than once.
