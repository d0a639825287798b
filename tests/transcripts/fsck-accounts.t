# The checker on accounts, and on an i-node no entry reaches
@ users anna bob
@ poke umap 4 0 01
@ poke umap 0 0 00
@ poke inode 50 2 a4 01 02 00 58 02
@ poke inode 50 206 01 00
@ poke imap 50 0 01
@ poke bmap 600 0 01
[root @fs5 /root/ ]# mkdir /etc/passwd/staff

The folder "staff" was created successfully.

? poke block 29 2 00 00
? poke block 26 2 64 00
fs5ck: i-node 50: used but reached by no entry.
fs5ck: /etc/passwd/root: user number 0 is free in the user map.
fs5ck: /etc/passwd/anna: user number 100 is outside the user map.
fs5ck: /etc/passwd/bob: user number 0 is free in the user map.
fs5ck: /etc/passwd/bob: shares user number 0 with "root".
fs5ck: /etc/passwd/staff: not a file.
fs5ck: user number 1: used but held by no account.
fs5ck: user number 2: used but held by no account.
fs5ck: user number 4: used but held by no account.
