// The image-level part of formatting: a fresh layout, every region zeroed, and the root
// folder at i-node 0 and datablock 0. The standard folders and the superuser's account are
// made by the layers above.
#ifndef FS5_STORAGE_FORMATIMAGE_H_
#define FS5_STORAGE_FORMATIMAGE_H_

#include <cstdint>

#include "storage/DiskStream.h"

namespace fs5 {

// Sets the stream's layout for the counts and writes the header followed by zeroed maps,
// i-node table and datablock area (nothing past the datablock area is touched). Then makes
// the root folder, owned by the superuser, whose ".." and "." both name i-node 0, and prints
// "The folder "/" was created successfully.". Returns 0, or -1 after
// "Can not create the root folder. First blocks are not free." (or a failed write).
int16_t formatImage(DiskStream& ds, int inodes, int blocks, int users);

}  // namespace fs5

#endif  // FS5_STORAGE_FORMATIMAGE_H_
