# A command line is zero-terminated text: it ends at its first zero byte, so "cd<NUL> /etc" is a
# cd home (the next prompt shows it) and "mkdir a<NUL>b" makes "a"
[root @fs5 /root/ ]# cd\x00 /etc


[root @fs5 /root/ ]# mkdir a\x00b

The folder "a" was created successfully.

