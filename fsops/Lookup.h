// The file-system operations layer: lookup, creating, writing, printing, listing, deleting,
// copying and moving folders and files. It calls the path and storage layers and the console.
//
// Lookup turns names into i-node numbers. It only reads the image; nothing is cached.
#ifndef FS5_FSOPS_LOOKUP_H_
#define FS5_FSOPS_LOOKUP_H_

#include <cstdint>
#include <string_view>

#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// The i-node named `name` among the valid entries of the folder `folder`, or -1. A folder
// that is not a folder, and the empty name, hold nothing. With verbose a miss prints
// "Folder or file "<name>" not found." to standard error, unless the folder's records could
// not be read (the out-of-range line for the bad number is printed then, verbose or not).
// The number returned is the entry's as stored: reading it checks its range. `unreadable`,
// when given, tells whether the folder's records could not be read.
int16_t findInFolder(DiskStream& ds, bool verbose, int folder, std::string_view name,
                     bool* unreadable = nullptr);

// Walks components 0 to lastIndex of path from the root and returns the i-node of component
// lastIndex (only component 0 when lastIndex <= 0), or -1 after at most one not-found line
// naming the first missing component. The root path "/" is i-node 0 without a lookup.
int16_t resolvePath(DiskStream& ds, bool verbose, const PathName& path, int lastIndex);

// Reads the i-node n that an entry `name` names into `node`. False after the reason on
// standard error when it can not be used as a folder or a file: the out-of-range line,
// ""<name>" is neither a folder nor a file." (a free record or an unknown type), or
// ""<name>" lists no datablock.".
bool readObject(DiskStream& ds, int16_t n, std::string_view name, Inode& node);

// The i-node that the whole path names (the root for "/"), or -1.
int16_t resolveWhole(DiskStream& ds, bool verbose, const PathName& path);
// The folder that holds the path's last component: the root for one component, else the
// lookup of the components before it. -1 for the root path itself.
int16_t resolveHolder(DiskStream& ds, bool verbose, const PathName& path);

}  // namespace fs5

#endif  // FS5_FSOPS_LOOKUP_H_
