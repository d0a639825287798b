# An empty image is formatted first; root logs in and leaves
@ image empty

The disk is empty. A new disk will be formatted.
The folder "/" was created successfully.
The folder "bin" was created successfully.
The folder "boot" was created successfully.
The folder "dev" was created successfully.
The folder "etc" was created successfully.
The folder "home" was created successfully.
The folder "initrd" was created successfully.
The folder "lib" was created successfully.
The folder "lost+found" was created successfully.
The folder "misc" was created successfully.
The folder "mnt" was created successfully.
The folder "opt" was created successfully.
The folder "proc" was created successfully.
The folder "root" was created successfully.
The folder "sbin" was created successfully.
The folder "tmp" was created successfully.
The folder "usr" was created successfully.
The folder "var" was created successfully.
The folder "passwd" was created successfully.

Enter the superuser password (min. 6 tokens, max. 30 tokens):
«secret1»

The superuser account "root" was successfully created.
The disk was formatted.

Login: «root»

Password: «secret1»

[root @fs5 /root/ ]# 
[root @fs5 /root/ ]# exit

