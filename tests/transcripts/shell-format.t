# mkfs: Escape keeps the disk (its Enter answers the next mkfs); then formatting again:
# passwords of 5 and 31 characters are refused, one of 30 is taken and only it logs in
[root @fs5 /root/ ]# mkfs

Do you really want to format the disk?
("Enter" - yes, "Esc" + "Enter"- no)
«\x1b»

[root @fs5 /root/ ]# mkfs

Do you really want to format the disk?
("Enter" - yes, "Esc" + "Enter"- no)
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
«short»
Do not undergo the minimum of 6 tokens.

Enter the superuser password (min. 6 tokens, max. 30 tokens):
«qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq»
Do not exceed the limit of 30 tokens.

Enter the superuser password (min. 6 tokens, max. 30 tokens):
«qqqqqqqqqqqqqqqqqqqqqqqqqqqqqq»

The superuser account "root" was successfully created.
The disk was formatted.


[root @fs5 /root/ ]# 
[root @fs5 /root/ ]# reenter

Login: «root»

Password: «secret1»

Wrong password.
Press "Enter" to continue.

Login: «root»

Password: «qqqqqqqqqqqqqqqqqqqqqqqqqqqqqq»

[root @fs5 /root/ ]# 
