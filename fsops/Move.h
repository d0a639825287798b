// Moving and renaming a file. A move changes folder entries only: the file keeps its i-node
// and its datablocks. The new entry is added first and the old one taken out afterwards
// (detachEntry), so a rename inside one folder leaves the new name in the old name's slot:
// for /a holding ["..", ".", f] [x], mv /a/f /a/g gives ["..", ".", g] [x].
#ifndef FS5_FSOPS_MOVE_H_
#define FS5_FSOPS_MOVE_H_

#include <cstdint>

#include "fsops/Lookup.h"
#include "storage/DiskStream.h"

namespace fs5 {

// Moves the found file `source` to `destination` (looked up without verbose), which names
//   an existing folder:  the file goes into it under its own name;
//   an existing file:    that file is deleted (deleteFile, quiet, which prints an empty line
//                        when another entry takes its slot) and the source goes into its
//                        folder under the source's own name;
//   nothing yet:         the last component is the new name, and the rest must name a folder.
// When the receiving folder is the file's own and the name its own (mv /a/f /a, /a/. or
// /a/c/..), no entry changes, whatever a replaced file's deletion did. A success prints
// "The file "<name>" was successfully moved." (or "... was successfully renamed and moved."
// when the file got the destination's last component as its name) to standard error, <name>
// being the source's last component. Failures, each returning -1 with the image unchanged:
//   "The source of moving is the root folder "/", not a file."   then a wait for one key
//   "The source of moving is not a file."  a folder, or missing (after the lookup's line);
//                                           a wait for one key (a record that the lookup
//                                           could not use: nothing more, its line was said)
//   "The destination of moving is not anything."  an empty last component; a wait for a key
//   "You can not move a file onto itself."  the destination is the source's own i-node, by
//                                           whatever path; a wait for one key
//   the kept-back not-found line for a missing folder part, or a folder part that is not a
//     folder, or a destination whose record the lookup could not use (after its line), then
//     "The moving of the file failed." and "Press Enter to continue." and a wait for one key
//   "The folder or file "<name>" already exists."  the destination folder holds another entry
//                                           of the new name (a file being replaced aside)
//   the two depth (or length) lines of a path  the receiving folder's path in the tree (not
//                                           as typed: mv f /a/b/../b is a move into /a/b)
//                                           and the name would pass 8 components or 239
//                                           characters
//   the entry addition's lines: a new name over 30 characters, or no datablock for the folder
//     to grow
// All of these go to standard error but "Press Enter to continue."; the other waits print no
// prompt.
int16_t moveFile(DiskStream& ds, const Handle& source, const Handle& destination);

}  // namespace fs5

#endif  // FS5_FSOPS_MOVE_H_
