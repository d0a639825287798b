# The checker on the superuser's number held by another name, then without an account folder
[root @fs5 /root/ ]# mv /etc/passwd/root /etc/passwd/toor


! The file "root" was successfully renamed and moved.

? check
user number 0: held by "toor", not by "root".
? poke block 5 68 70 61 73 73 00
fs5ck: /etc/passwd: not found.
