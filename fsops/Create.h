// Creating folders and empty files under an existing folder.
#ifndef FS5_FSOPS_CREATE_H_
#define FS5_FSOPS_CREATE_H_

#include <cstdint>
#include <string_view>

#include "storage/DiskStream.h"

namespace fs5 {

// Makes a folder (with its ".." and "." entries) or an empty file of one zeroed datablock at
// the absolute path, owned by `owner`, with the default rights. Everything is tested before
// anything is allocated; a failed creation leaves nothing allocated. Failures (standard error):
//   "Can not create folder "/"."                         the root path
//   the lookup's line, then "Can not create folder "<name>"."   a missing parent
//   "Can not create folder "<name>"."                    a parent that is not a folder
//   "Can not create folder ""."                          an empty name
//   "Can not create folder "<name>"."                    a name holding a zero byte (a
//                                                        stored name ends at its first one)
//   "Foldername (filename) can not exceed 30 symbols."   a name over 30 characters
//   "The folder or file "<name>" already exists."        a name present in the parent
//   the allocator's line, then "Can not create folder "<name>"."   no i-node or datablock
//   "Can not create daughter folder"<name>"." (after the allocator's)  the parent cannot grow
// ("file" in place of "folder" for a file.) With verbose a success prints
// "The folder "<name>" was created successfully." (or "The file ...") to standard output.
int16_t createNode(DiskStream& ds, bool verbose, bool isFolder, int16_t owner,
                   std::string_view path);
int16_t createFolder(DiskStream& ds, bool verbose, int16_t owner, std::string_view path);
int16_t createFile(DiskStream& ds, bool verbose, int16_t owner, std::string_view path);

}  // namespace fs5

#endif  // FS5_FSOPS_CREATE_H_
