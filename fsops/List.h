// Listing a folder as a small tree: sub-folders first, files after them, each sorted by name,
// with every entry's i-node number; the long form adds the rights and the owner's name.
#ifndef FS5_FSOPS_LIST_H_
#define FS5_FSOPS_LIST_H_

#include <cstdint>
#include <string>
#include <vector>

#include "fsops/Lookup.h"
#include "storage/DiskStream.h"

namespace fs5 {

// One known account, as the login's users table holds it: the long form shows an owner
// number by the name of the first such row with that number, and by the name of row 0 when no
// row has it.
struct UserEntry {
  int16_t number = 0;
  std::string name;
};

// Lists the found folder to standard output:
//
//   The folder "<name>" content:          ("/" for the root)
//   (empty line)
//   <label>, then "i-node" ending at column 20 of the label ("/.." for the root)
//   one row per entry, then an empty line
//
// A row is " ", the tree mark, " ", the name, then the i-node number ending at column 15 of
// the name; the long form then adds six blanks, the rights ("rwx r-x r-x ") and the owner's
// name preceded by 10 - 2 x (its length) blanks. Widths count the name's bytes; where a text
// is longer than its field nothing is put before the next one. Example rows for a folder
// "bin", i-node 1, rights rwxr-xr-x, owner root:
//   " ├ bin           1"
//   " ├ bin           1      rwx r-x r-x   root"
// Marks (UTF-8): "├" on every folder row, but "└" on the last one when no file follows; "╟"
// on every file row but the last, which has "╚". Every entry is listed but those whose
// i-node is neither a folder nor a file, which are left out silently. Names sort in byte
// order; equal names keep their order in the folder. Returns 0, or -1 when the handle names
// no folder: "Nothing to print." (standard error) after the lookup's not-found line, or
// silently when the lookup found a record it could not use (it has said why); or, with
// nothing listed, after the line of the first entry's record that can not be read.
int16_t listFolder(DiskStream& ds, bool longForm, const std::vector<UserEntry>& owners,
                   const Handle& folder);

}  // namespace fs5

#endif  // FS5_FSOPS_LIST_H_
