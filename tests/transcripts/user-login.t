# Login: a name that is a path finds no account (wrong login); a 31-character password is
# read whole and never matches (wrong password); a 30-character name and password log in;
# end of input at the password ends the program
@ users nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn
@ eof
[root @fs5 /root/ ]# reenter

Login: «../passwd/root»

Password: «secret1»

Wrong login.
Press "Enter" to continue.

Login: «nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn»

Password: «nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn»

Wrong password.
Press "Enter" to continue.

Login: «nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn»

Password: «nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn»

[nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn @fs5 /home/nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn/ ]$ 
[nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn @fs5 /home/nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn/ ]$ reenter

Login: «root»

Password: 
