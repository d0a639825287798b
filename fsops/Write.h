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

// The console editor behind "vi -i", in three steps, for the typing is a wait: only the
// path crosses it, so the caller looks the file up (and checks it) again between the typing
// and the save.
//
// startWriting makes, reading only, the checks the erase makes, and prints
// "Erasing the file "<name>"", "Press "Esc", then "Enter" to finish your input and save the
// file." and "Input the data here:". False after the erase's refusal lines; a file listing a
// datablock the erase could not free (already free) is erased at once, failing as eraseFile
// does, and false is returned.
bool startWriting(DiskStream& ds, const Handle& file);
// How the typing ended.
enum class Typing {
  ENDED,      // Escape or the end of input: the text is to be saved
  FULL,       // "The file is full": the file is to be left erased
  ABANDONED,  // Ctrl-C at a terminal: the file is to be left as it is
};
// Reads characters from the console's main buffer up to Escape (or the end of input) into
// `typed`. The 10,000th character prints "The file is full" and the rest of the typing up to
// the Escape is read and dropped. Ctrl-C at a terminal prints "The typing was abandoned; the
// file is unchanged.".
Typing readTyping(Console& con, std::string& typed);
// Erases the file found again after the typing and, when the typing fits, gives it the typed
// characters (storeContent), in one go. A file gone or changed meanwhile fails as the erase
// does and nothing is written. When the datablocks run out, "The file was not saved."
// follows the allocator's line and the file stays erased. Returns 0, or -1 (always when the
// typing did not fit).
int16_t saveTyping(DiskStream& ds, const Handle& file, std::string_view typed, bool fits);
// The three steps, the file looked up again (with verbose) by its path after the typing.
int16_t writeFile(DiskStream& ds, const Handle& file);

}  // namespace fs5

#endif  // FS5_FSOPS_WRITE_H_
