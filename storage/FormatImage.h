// The image-level part of formatting: a fresh layout, every region zeroed, and the root
// folder at i-node 0 and datablock 0. The standard folders and the superuser's account are
// made by the layers above.
#ifndef FS5_STORAGE_FORMATIMAGE_H_
#define FS5_STORAGE_FORMATIMAGE_H_

#include <cstdint>

#include "storage/DiskStream.h"

namespace fs5 {

// Sets the stream's layout for the counts and writes, in one write, the header followed by the
// maps, the i-node table and the datablock area, all zero but for the root folder: i-node 0
// and datablock 0, owned by the superuser, whose ".." and "." both name i-node 0 (nothing past
// the datablock area is touched). Then prints "The folder "/" was created successfully.".
// Returns 0, or -1 (nothing written) when the counts make no valid layout, or when the write
// failed.
int16_t formatImage(DiskStream& ds, int inodes, int blocks, int users);

}  // namespace fs5

#endif  // FS5_STORAGE_FORMATIMAGE_H_
