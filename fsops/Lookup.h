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

namespace fs5 {

// The i-node named `name` among the valid entries of the folder `folder`, or -1. A folder
// that is not a folder, and the empty name, hold nothing. With verbose a miss prints
// "Folder or file "<name>" not found." to standard error.
int16_t findInFolder(DiskStream& ds, bool verbose, int folder, std::string_view name);

// Walks components 0 to lastIndex of path from the root and returns the i-node of component
// lastIndex (only component 0 when lastIndex <= 0), or -1 after at most one not-found line
// naming the first missing component. The root path "/" is i-node 0 without a lookup.
int16_t resolvePath(DiskStream& ds, bool verbose, const PathName& path, int lastIndex);

// The i-node that the whole path names (the root for "/"), or -1.
int16_t resolveWhole(DiskStream& ds, bool verbose, const PathName& path);
// The folder that holds the path's last component: the root for one component, else the
// lookup of the components before it. -1 for the root path itself.
int16_t resolveHolder(DiskStream& ds, bool verbose, const PathName& path);

}  // namespace fs5

#endif  // FS5_FSOPS_LOOKUP_H_
