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
// thing printed).
int16_t formatDisk(DiskStream& ds, int inodes, int blocks, int users);

}  // namespace fs5

#endif  // FS5_USERS_FORMAT_H_
