// Adding and deleting accounts: the account record under /etc/passwd, the user number in the
// user map and the home folder /home/<name>. Only the image changes: the shell's users table
// shows an account added or deleted here from the next login on.
#ifndef FS5_USERS_USERADMIN_H_
#define FS5_USERS_USERADMIN_H_

#include <cstdint>
#include <string_view>

#include "storage/DiskStream.h"

namespace fs5 {

// Makes the account `name`: asks for its password, takes the lowest free user number, writes
// the account record and makes the home folder /home/<name>, owned by the new number, with
// the default folder rights. Output on standard output unless said otherwise:
//   refused before the password is asked, nothing changed:
//     "The user name "<name>" is not valid."    (".", "..", "exit", a "/" or white space in
//                                                 it, empty or longer than 30 characters)
//     "The home folder "<name>" already exists." (a /home/<name> without an account file)
//   the dialogue, until a password of at most 30 characters is typed: an empty line,
//     "Enter the user password (max. 30 tokens):", and after a longer word
//     "Do not exceed the limit of 30 tokens."; the end of input ends it with -1, nothing made;
//   the refusals above again after the password, when the image changed meanwhile;
//   no free user number: the allocator's line (standard error), -1, nothing made;
//   an account file of that name: "The user "<name>" already exists.", -1, number given back;
//   the record or the home folder not made: the failing operation's lines, then
//     "The user account "<name>" was not created.", -1, with the account file deleted and the
//     number given back;
//   success: the screen cleared, "The user account "<name>" was successfully created.", 0.
int16_t addUser(DiskStream& ds, std::string_view name);

// Deletes the account `name`: gives its user number back, deletes its account file and the
// whole tree /home/<name> without asking, and gives every i-node still owned by its number to
// the superuser. Output on standard output:
//   "root": "The superuser "root" account can not be deleted.", -1;
//   no account file of that name (or a name no account can have): "The user "<name>" does
//     not exist." and "There is no user account to delete.", -1, nothing changed;
//   i-nodes given to the superuser: "The remaining folders and files of "<name>" now belong
//     to "root"." before the last line;
//   the account file or the home tree not deleted (their lines printed first):
//     "The user account "<name>" was not deleted completely.", -1;
//   success: "The user account "<name>" was successfully deleted.", 0.
// A record holding user number 0 gives nothing back and gives no i-node away.
int16_t deleteUser(DiskStream& ds, std::string_view name);

}  // namespace fs5

#endif  // FS5_USERS_USERADMIN_H_
