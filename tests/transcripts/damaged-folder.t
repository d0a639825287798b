# A folder whose entry names an i-node out of range
@ poke block 0 66 2c 01
[root @fs5 /root/ ]# ls /

The folder "/" content:

/..           i-node
 ├ .             0
 ├ ..            0
 ├ boot          2
 ├ dev           3
 ├ etc           4
 ├ home          5
 ├ initrd        6
 ├ lib           7
 ├ lost+found    8
 ├ misc          9
 ├ mnt          10
 ├ opt          11
 ├ proc         12
 ├ root         13
 ├ sbin         14
 ├ tmp          15
 ├ usr          16
 └ var          17


[root @fs5 /root/ ]# cat /tmp

! "tmp" is a folder,not a file.

fs5ck: /bin: names i-node 300, outside the i-node table.
fs5ck: i-node 1: used but reached by no entry.
