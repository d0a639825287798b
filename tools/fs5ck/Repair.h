// The repair behind fs5ck -y and -p: it makes a damaged image sound again, writing through the
// storage classes on a writable stream. It reads the whole image into memory, decides every
// change there, then writes: map bytes marked used first, then datablocks, then i-node
// records, then map bytes marked free (with the records and datablocks they free zeroed).
//
// What -y (RepairMode::kAll) does, in this order:
//   1. i-node records: i-node 0 made anew as an empty root folder when its record is all
//      zero; a type that is neither folder nor file set to folder when the first datablock
//      holds "." naming the i-node (always for i-node 0), to file otherwise; a block count out
//      of 1..100 set from the last non-zero block slot; datablocks outside the area taken out
//      of the list; unlisted slots zeroed; a datablock listed a second time (by another i-node
//      or the same one) replaced by a copy.
//   2. the tree from the root, depth first in entry order: ".." and "." set right; an entry
//      taken out when its name is empty, "." or "..", holds "/" or is already used in its
//      folder, when it names an i-node outside the table, one whose record is all zero, one
//      already reached, or lies deeper than 8 levels, and when it names a folder inside
//      /etc/passwd. An i-node free in the map whose record is not all zero is in use when an
//      entry reaches it (its map byte is set); otherwise its record is zeroed.
//   3. /etc and /etc/passwd made when missing (an entry of that name that is not a folder is
//      taken out first); every used i-node no entry reaches reconnected as
//      /lost+found/#<n> (a numbered suffix ".1", ".2"... when the name is taken), with
//      /lost+found made when missing; of orphan folders that name each other only the top
//      one is entered, so the subtree keeps its shape. Every datablock used in the map that no
//      record lists and that is not all zero is kept as the only datablock of a new file
//      /lost+found/#b<k> of the superuser (left as it is when no i-node is free). A file left
//      without datablocks gets an empty one.
//   4. accounts: the account "root" holds user number 0; when there is none, the first
//      account holding 0 is renamed "root", and when no account holds 0 an account "root" is
//      made with an empty password, which fs5sh replaces by asking for a new superuser
//      password at its next start. Every other
//      account holding 0, a number outside the user map or one an earlier account holds gets
//      the lowest number no account holds.
//   5. folders laid out dense, their entries in order three to a datablock: datablocks left
//      over given back, missing ones added.
//   6. maps: a map byte set to 1 under everything in use and to 0 elsewhere (user number 0
//      always used); free i-node records and free datablocks zeroed.
// Each change prints one line, for example:
//   i-node 1: type set to 1 (folder).
//   /: entry "g" taken out.
//   i-node 17: reconnected as /lost+found/#17.
//   datablock 600: marked free.
// -p (RepairMode::kLossless) changes only the map bytes of the problems found whose rows in
// Problems.h are lossless and of what their repairs bring into use (what a folder marked used
// holds, the datablocks an i-node marked used lists, the user numbers of its accounts, and
// user number 0), as -y would set them; it never frees a datablock a block slot names or that
// is not all zero, nor an i-node an entry names.
#ifndef FS5_TOOLS_FS5CK_REPAIR_H_
#define FS5_TOOLS_FS5CK_REPAIR_H_

#include <string>
#include <vector>

#include "storage/DiskStream.h"
#include "tools/fs5ck/Problems.h"

namespace fs5 {

enum class RepairMode { kLossless, kAll };

struct RepairResult {
  // One line per change, in the order made.
  std::vector<std::string> lines;
  // Empty, or why the image could not be repaired ("the image can not be written.").
  std::string failure;
};

// Repairs the problems `found` by the check of the image behind a writable stream whose header
// is loaded, valid, and whose file is as long as its layout needs. Returns the repair lines; a
// failed access leaves ds.failed().
std::vector<std::string> repairImage(DiskStream& ds, RepairMode mode,
                                     const std::vector<Finding>& found);
// Checks the image behind the stream, then repairs what the check found.
std::vector<std::string> repairImage(DiskStream& ds, RepairMode mode);

// Opens the image file for reading and writing, checks it and repairs what the check found.
RepairResult repairImageFile(const std::string& path, RepairMode mode);

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_REPAIR_H_
