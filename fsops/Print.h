// Printing a file: the content that the editor stored, byte for byte, up to its end mark.
#ifndef FS5_FSOPS_PRINT_H_
#define FS5_FSOPS_PRINT_H_

#include <cstdint>

#include "fsops/Lookup.h"
#include "storage/DiskStream.h"

namespace fs5 {

// Writes "This is the file "<name>" content:" and then the file's bytes to standard output,
// datablock after datablock, every byte unchanged (zero bytes and line ends included). The
// first end mark (27) ends the content and is printed as two ends of line; a file without
// one (just created) is printed whole, with no end of line after it. Returns 0, or -1 after
// one of these lines on standard error (nothing on standard output):
//   "This is a "/" folder, not a file"         the root path
//   ""<name>" is a folder,not a file."         a folder
// or silently for a handle that found nothing usable (its lookup has said why).
int16_t printFile(DiskStream& ds, const Handle& file);

}  // namespace fs5

#endif  // FS5_FSOPS_PRINT_H_
