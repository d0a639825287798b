# rmdir of a folder whose entry count takes in an empty slot (name "", i-node 0): that entry
# names nothing, so the walk does not go into the root and nothing is deleted
@ poke block 20 0 03 00
[root @fs5 /root/ ]# rmdir /tmp

Delete folder with all its content?
("Enter" - yes, "Esc" - no)
«y»
! Folder or file "" not found.

fs5ck: /tmp: datablock 20 slot 2 holds an entry with an empty name.
fs5ck: /tmp/: names i-node 0 (/), a folder on its own path.
