// The users layer: accounts, rights, and formatting's folders and superuser. It calls the
// file-system operations and the layers below them.
//
// Accounts are files in /etc/passwd; storage/AccountRecord.h says how their record is coded.
#ifndef FS5_USERS_ACCOUNTSTORE_H_
#define FS5_USERS_ACCOUNTSTORE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fsops/List.h"
#include "storage/AccountRecord.h"
#include "storage/DiskStream.h"

namespace fs5 {

inline constexpr int MAX_USERS = 100;

struct UserRecord {
  int16_t number = 0;
  std::string password;
};

// True for a name an account can have: 1 to 30 characters, no "/", no white space, and not
// ".", ".." or "exit".
bool isValidUserName(std::string_view name);

enum class RecordWrite { kWritten, kExists, kNotWritten };

// Writes the account file of `name` holding {number, password}: kWritten, kExists when a file
// of that name is already there (nothing written), kNotWritten when the record was not written.
RecordWrite addUserRecord(DiskStream& ds, std::string_view name, std::string_view password,
                          int16_t number);

// Reads the account record of `name`. 0 with the record filled; -1 when there is no such
// account (no message) or the entry is a folder (""<name>" is a folder,not a file.").
int16_t findUserRecord(DiskStream& ds, std::string_view name, UserRecord& out);

// The users table of a login, which the listing's owner column and chown read: a row
// {number, name} for each entry of /etc/passwd but ".." and ".", in folder order, at most
// MAX_USERS rows. A row whose account record can not be read (findUserRecord's lines printed)
// has the number 0. An account folder that is not there prints the lookup's not-found line and
// gives no rows; a datablock of it that can not be read ends the table there.
std::vector<UserEntry> readUsersTable(DiskStream& ds);

}  // namespace fs5

#endif  // FS5_USERS_ACCOUNTSTORE_H_
