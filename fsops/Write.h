// Giving a file new content: erasing it down to one zeroed datablock, and the console editor
// behind "vi -i". File content is the typed bytes, 100 per datablock, then the end mark 27,
// then zero bytes; a file has at most 100 datablocks, so at most 9,999 typed characters.
#ifndef FS5_FSOPS_WRITE_H_
#define FS5_FSOPS_WRITE_H_

#include <cstdint>
#include <string_view>

#include "fsops/Lookup.h"
#include "storage/DiskStream.h"

namespace fs5 {

inline constexpr uint8_t END_MARK = 27;
inline constexpr int MAX_FILE_BYTES = BLOCK_SIZE * MAX_BLOCKS;

// Empties the file down to its first datablock, zeroed; the others are freed from the last
// backwards. Failures (standard error): "This is a "/" folder, not a file." for the root,
// ""<name>" is a folder,not a file.", or the three-line report of a listed datablock that is
// already free (the i-node is then written without the blocks freed before); a handle that
// found nothing usable fails silently (its lookup has said why). With verbose a success
// prints "Erasing the file "<name>"".
int16_t eraseFile(DiskStream& ds, bool verbose, const Handle& file);
// The same for the file at an absolute path text, looked up first (with verbose).
int16_t eraseFile(DiskStream& ds, bool verbose, std::string_view path);

// Makes, reading only, the checks the erase makes and prints "Erasing the file "<name>"",
// "Press "Esc", then "Enter" to finish your input and save the file." and "Input the data
// here:"; then reads characters from the console's main buffer up to Escape (or the end of
// input). The 10,000th character prints "The file is full" and the rest of the typing up to
// the Escape is read and dropped. The typing is a wait: only the path crosses it. The file is
// then looked up again by its path (with verbose) and, in one go, erased and, unless full,
// given the typed characters (storeContent); a file gone or changed meanwhile is reported by
// the lookup or the erase and nothing is written. A file the erase would fail on (a listed
// datablock already free) is erased at once, failing as eraseFile does, and nothing is read.
// When the datablocks run out while saving, "The file was not saved." follows the
// allocator's line. Returns 0 or -1.
int16_t writeFile(DiskStream& ds, const Handle& file);

}  // namespace fs5

#endif  // FS5_FSOPS_WRITE_H_
