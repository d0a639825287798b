// Printing a file: the content that the editor stored, byte for byte, up to its end mark.
#ifndef FS5_FSOPS_PRINT_H_
#define FS5_FSOPS_PRINT_H_

#include <cstdint>
#include <string_view>

#include "storage/DiskStream.h"

namespace fs5 {

// Writes "This is the file "<name>" content:" and then the file's bytes to standard output,
// datablock after datablock, every byte unchanged (zero bytes and line ends included). The
// first end mark (27) ends the content and is printed as two ends of line; a file without
// one (just created) is printed whole, with no end of line after it. The path is absolute.
// Returns 0, or -1 after one of these lines on standard error (nothing on standard output):
//   "This is a "/" folder, not a file"         the root path
//   the lookup's line                          a missing path
//   ""<name>" is a folder,not a file."         a folder
int16_t printFile(DiskStream& ds, std::string_view path);

}  // namespace fs5

#endif  // FS5_FSOPS_PRINT_H_
