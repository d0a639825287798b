// Formatting the whole image: a zeroed standard layout with its root folder (storage), the
// standard folders, and the superuser "root" with the password asked at the console.
#ifndef FS5_USERS_FORMAT_H_
#define FS5_USERS_FORMAT_H_

#include <cstdint>

#include "storage/DiskStream.h"

namespace fs5 {

// Formats the image with the given counts and prints each folder made, the password
// dialogue and the closing lines. Returns 0, or -1 when the program must end with status 1:
// the image could not be written, or the input ended in the password dialogue ("The
// superuser account was not created.", after which the console is closed: it is the last
// thing printed, and the image file is left empty, so that the next start formats it).
int16_t formatDisk(DiskStream& ds, int inodes, int blocks, int users);

// True when the superuser can log in: /etc/passwd/root is a file whose record names user
// number 0 and holds a password that is not empty.
bool isSuperuserUsable(DiskStream& ds);

// Gives an image whose superuser can not log in a new superuser password. Returns 0 when the
// account is usable (nothing printed); otherwise prints "The superuser account is missing or
// damaged. A new superuser password will be set.", asks for the password as formatting does,
// and looks again (another console may have mended the account meanwhile: then 0, nothing
// written). Else it writes the account, making what is missing of /etc/passwd and deleting
// an unusable account file first, and returns 1 after an empty line, "The superuser account
// "root" was successfully created." and an empty line. -1 when the program must end with
// status 1: the input ended in the dialogue or the account could not be written ("The
// superuser account was not created.", then the console is closed; after the end of input
// nothing is written), or the image could not be read or written.
int16_t mendSuperuser(DiskStream& ds);

}  // namespace fs5

#endif  // FS5_USERS_FORMAT_H_
