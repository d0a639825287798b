// Copying a file over another file or into a folder, and copying a folder tree into a folder.
// A copy belongs to the owner of what it copies and gets its nine rights bits; a copied file
// gets datablocks of its own, one per datablock of the source, in the same order.
#ifndef FS5_FSOPS_COPY_H_
#define FS5_FSOPS_COPY_H_

#include <cstdint>

#include "fsops/Lookup.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// Gives `to` the owner, the nine rights bits and the kind (folder, file or free) of `from`,
// and an empty block list; to's number and reserved mode bits stay. Memory only.
void copyAttributes(const Inode& from, Inode& to);

// Copies the found file `source` to `destination`: an existing file, whose
// content is replaced, or an existing folder, in which the file of the source's name is
// replaced or, when missing, made (owned by the source's owner). The destination keeps its
// first datablock as the copy's first; the others come first-fit from the map. With verbose a
// success prints "The file "<name>" was successfully copied." to standard output. Failures
// (standard error), each returning -1:
//   "The source of copying is the root folder "/", not a file."
//   "The source of copying is not a file." and a wait for one key  (after the lookup's line
//                                                  for a missing source)
//   the kept-back not-found line of a destination looked up without verbose, then
//     "The destination of copying is neither a folder nor a file." and a wait for one key
//   "You can not copy a file onto itself."        the destination is the source's own i-node,
//                                                  directly or by its name in the folder
//   "The folder or file "<name>" already exists."  the folder holds a folder of that name
//   the two depth (or length) lines               the folder's path cannot take the name
//   the creation's own lines                      the new file could not be made
//   "There are no free datablocks."               the datablocks taken are given back and the
//                                                  destination is left erased: one zeroed
//                                                  datablock with its own owner, rights, type
// A source or destination whose record the lookup could not use fails silently (the lookup
// has said why).
int16_t copyFile(DiskStream& ds, bool verbose, const Handle& source, const Handle& destination);

// Copies the found folder `source`, with everything below it, into the folder
// `destination`: a new folder of the source's name, owned by the source's owner with its
// rights, then each entry in folder order, depth first (files by copyFile, folders by
// copyFolderTree, both quiet); every new folder's ".." names its new parent. With verbose a
// success prints "The folder "<name>" was successfully copied." to standard output. Failures
// (standard error), each returning -1:
//   "The source of copying is not a folder." and a wait for one key (after the lookup's line
//                                  for a missing source)
//   the kept-back not-found line of a missing destination, then "The destination of copying
//                                  is not a folder." and a wait
//   "The destination of copying is inside the source folder."  the destination is the source
//                                  or lies below it (so the root as source always fails)
//   the two depth lines, or the creation's lines ("... already exists." among them): nothing
//                                  is made
//   a part of the tree not copied (its own lines are printed, and a child whose path would
//   be too deep is skipped after the depth lines; the walk goes on): with verbose
//   "The folder "<name>" was not copied completely." in place of the success line
// Records that the lookup could not use fail silently, as for copyFile.
int16_t copyFolderTree(DiskStream& ds, bool verbose, const Handle& source,
                       const Handle& destination);

}  // namespace fs5

#endif  // FS5_FSOPS_COPY_H_
