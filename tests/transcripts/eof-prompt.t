@ eof
[root @fs5 /root/ ]# reenter

Login: «bob»

Password: «x»

Wrong login.
Press "Enter" to continue.

Login: 
