// The account record: where accounts live in the image and how one is coded.
//
// An account named N is the file /etc/passwd/N, owned by the superuser with rights rw-------.
// Its first datablock holds the record in the shape of a folder block (FolderBlock.h), entry 0
// being the record:
//
//   offset | field
//   -------+---------------------------------------------------------------------------
//   0      | entry count: 0 (the record does not count its own entry)
//   2      | entry 0's i-node field: the user number, signed 16-bit
//   4      | entry 0's name field: the password, 30 bytes zero-padded (30 characters fill it)
//   34     | zero (entries 1 and 2, and the datablock's last two bytes)
//
// User number 0 is the superuser, whose account is named "root".
#ifndef FS5_STORAGE_ACCOUNTRECORD_H_
#define FS5_STORAGE_ACCOUNTRECORD_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/FolderBlock.h"
#include "storage/Layout.h"

namespace fs5 {

inline constexpr const char* ACCOUNT_FOLDER = "/etc/passwd";
inline constexpr const char* SUPERUSER_NAME = "root";
inline constexpr int16_t SUPERUSER = 0;
inline constexpr int MAX_PASSWORD = MAX_NAME;
inline constexpr uint16_t ACCOUNT_RIGHTS = 0x180;  // rw-------

// "/etc/passwd/<name>", the account file of `name`.
inline std::string accountFilePath(std::string_view name) {
  return std::string(ACCOUNT_FOLDER) + "/" + std::string(name);
}

// The user number and the password held by a record read as a folder block.
inline int16_t recordUserNumber(const FolderBlock& record) { return record.getEntryInode(0); }
inline std::string recordPassword(const FolderBlock& record) { return record.getEntryName(0); }

// Set one field of the record; the entry count stays as it is.
inline void setRecordUserNumber(FolderBlock& record, int16_t number) {
  record.setEntryInode(0, number);
}
inline void setRecordPassword(FolderBlock& record, std::string_view password) {
  record.setEntryName(0, password);
}

}  // namespace fs5

#endif  // FS5_STORAGE_ACCOUNTRECORD_H_
