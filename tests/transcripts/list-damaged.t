# ls leaves out an entry whose record is neither a folder nor a file, silently, and lists the
# rest (anna's home, i-node 21, is given type 3)
@ users anna bob
@ poke inode 21 4 03 00
[root @fs5 /root/ ]# ls /home

The folder "home" content:

home          i-node
 ├ .             5
 ├ ..            0
 └ bob          23


fs5ck: i-node 21: used but its type is 3, neither 1 (folder) nor 2 (file).
