// The users layer: accounts, rights, and formatting's folders and superuser. It calls the
// file-system operations and the layers below them.
//
// An account named N is the file /etc/passwd/N, owned by the superuser with rights rw-------.
// Its first datablock holds the record in the shape of a folder block:
//   offset 0: entry count 0;  offset 2: user number (signed 16-bit);
//   offset 4: the password, 30 bytes zero-padded;  the rest zero.
#ifndef FS5_USERS_ACCOUNTSTORE_H_
#define FS5_USERS_ACCOUNTSTORE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/DiskStream.h"

namespace fs5 {

inline constexpr int MAX_PASSWORD = 30;
inline constexpr int MAX_USERS = 100;
inline constexpr uint16_t ACCOUNT_RIGHTS = 0x180;  // rw-------
inline constexpr int16_t SUPERUSER = 0;

struct UserRecord {
  int16_t number = 0;
  std::string password;
  void clear() {
    number = 0;
    password.clear();
  }
};

// True for a name an account can have: 1 to 30 characters, no "/", no white space, and not
// ".", ".." or "exit".
bool isValidUserName(std::string_view name);

// Writes the account file of `name` holding {number, password}. Returns 1 when a file of that
// name already exists (nothing written), -1 when the record was not written, 0 on success.
int16_t addUserRecord(DiskStream& ds, std::string_view name, std::string_view password,
                      int16_t number);

// Reads the account record of `name`. 0 with the record filled; -1 when there is no such
// account (no message) or the entry is a folder (""<name>" is a folder,not a file.").
int16_t findUserRecord(DiskStream& ds, std::string_view name, UserRecord& out);

}  // namespace fs5

#endif  // FS5_USERS_ACCOUNTSTORE_H_
