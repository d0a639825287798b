# Rights of cp, cp -R and mv: read on the source's folder, write on the destination folder
# itself when it exists, else on its holder; mv also needs write on the source's folder; at
# most one "Access denied." (/mnt is made rwx------, /tmp rwxrwxrwx); a copy belongs to
# the source's owner
@ users anna
@ as anna
@ poke inode 10 2 c0 01
@ poke inode 15 2 ff 01
[anna @fs5 /home/anna/ ]$ cp /etc/passwd/root /home/anna

The file "root" was successfully copied.

? inode 22
owner 0 mode 180 type 2 blocks 29
[anna @fs5 /home/anna/ ]$ cp /mnt/f /

Access denied.
You can not copy the "f" file.

[anna @fs5 /home/anna/ ]$ cp -R /mnt/d /

Access denied.
You can not copy the "d" folder.

[anna @fs5 /home/anna/ ]$ cp /etc/passwd/anna ..

Access denied.
You can not copy the "anna" file.

[anna @fs5 /home/anna/ ]$ mv /etc/passwd/root .

Access denied.
You can not move (and rename) the "root" file.

[anna @fs5 /home/anna/ ]$ mv /mnt/f /

Access denied.
You can not move (and rename) the "f" file.

[anna @fs5 /home/anna/ ]$ mv root /tmp

! The file "root" was successfully moved.

[anna @fs5 /home/anna/ ]$ mv /tmp/root /etc/x

Access denied.
You can not move (and rename) the "root" file.

