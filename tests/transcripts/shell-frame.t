# The command frame for an ordinary user: a command word cut to 21 characters is not found, a
# line over 749 characters is refused whole (its tail, "mkdir zz", is not run), the superuser
# guards come before the argument guard, reenter ignores its arguments, exit at the login prompt
@ users anna
@ as anna
[anna @fs5 /home/anna/ ]$ exitexitexitexitexitexit

Command not found.
[anna @fs5 /home/anna/ ]$ xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxmkdir zz
! The command line can not exceed 749 symbols.
[anna @fs5 /home/anna/ ]$ adduser

A user account can be added ONLY by the superuser.
[anna @fs5 /home/anna/ ]$ mkfs

A disk can be formatted ONLY by the superuser.
[anna @fs5 /home/anna/ ]$ cp a

This command requires 2 arguments.
[anna @fs5 /home/anna/ ]$ reenter now please

Login: «exit»
