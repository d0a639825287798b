// The image checker behind fs5ck: it reads a disk image and reports every way it departs from
// a sound image of this system. It calls only the storage and path layers and the console, and
// it never writes to the image (the repair, Repair.h, does).
//
// What a sound image is:
//   - the header is a valid layout and the file is at least as long as the layout needs;
//   - every map byte is 0 or 1; a free i-node's record and a free datablock are all zero;
//   - a used i-node is a folder or a file listing 1 to 100 datablocks, each inside the area,
//     used in the map, listed nowhere else and only once; its unlisted block slots are 0;
//   - every used datablock is listed by a used i-node;
//   - i-node 0 is the root folder; every folder's first datablock starts with ".." (its parent;
//     the root names itself) and "." (itself); folders are dense (every datablock but the last
//     holds 3 entries, the last 1 to 3) and the slots past a block's count are zero;
//   - every entry names a used i-node by a non-empty name without "/" that is unique in its
//     folder; every used i-node but the root is reached by exactly one entry besides "." and
//     "..", the tree has no cycle and no path is deeper than 8 components;
//   - /etc/passwd is a folder of account files; each record's user number is used in the user
//     map and held by no other account; user number 0 is held by "root"; every used user
//     number is held by an account.
// Bytes 98 and 99 of folder blocks, the reserved bits of the mode word, owners and file
// content are not judged.
//
// Problem lines, one per problem, name the i-node, datablock, user number or path concerned
// (Problems.h lists every problem with its line and its repair):
//   i-node 5: map byte is 2, not 0 or 1.
//   datablock 40: used but listed by no i-node.
//   /home/anna: ".." names i-node 3 instead of 5.
#ifndef FS5_TOOLS_FS5CK_CHECKER_H_
#define FS5_TOOLS_FS5CK_CHECKER_H_

#include <ostream>
#include <string>
#include <vector>

#include "storage/DiskStream.h"
#include "tools/fs5ck/Problems.h"

namespace fs5 {

// The exit statuses of fs5ck.
inline constexpr int CHECK_SOUND = 0;
inline constexpr int CHECK_CORRECTED = 1;
inline constexpr int CHECK_PROBLEMS = 4;
inline constexpr int CHECK_UNREADABLE = 8;
inline constexpr int CHECK_USAGE = 16;

inline constexpr const char* DEFAULT_IMAGE = "disk.fs5";

struct CheckReport {
  // One line per problem, in the order the checks meet them, and the problems themselves.
  std::vector<std::string> problems;
  std::vector<Finding> found;
  // Used i-nodes that are folders and files, used i-nodes and datablocks in the maps, and
  // the account files in /etc/passwd.
  int folders = 0;
  int files = 0;
  int usedInodes = 0;
  int usedBlocks = 0;
  int accounts = 0;
  // False when the image could not be read at all; `failure` then says why (for example
  // "the header is not a valid layout.") and nothing else of the report is meaningful.
  bool readable = true;
  std::string failure;

  bool sound() const { return readable && problems.empty(); }
  // CHECK_SOUND, CHECK_PROBLEMS or CHECK_UNREADABLE.
  int exitStatus() const;
  // "folders 19, files 1, used i-nodes 20, used datablocks 26, accounts 1"
  std::string counts() const;
  // The counts, then ", problems 0".
  std::string summary() const;
};

// Checks the image behind an open stream: loads its header into the stream's layout, then
// reads everything through the storage classes. Nothing is written through the stream.
CheckReport checkImage(DiskStream& ds);

// Opens the image file read-only and checks it. A missing or unopenable file, or one that
// fails while being read, gives a report that is not readable.
CheckReport checkImageFile(const std::string& path);

// The whole fs5ck program over its arguments (without the program name):
//   fs5ck [-n] [IMAGE]  checks IMAGE (default disk.fs5) without writing, under a shared lock:
//                       the problem lines, then "<IMAGE>: <summary>" on `out`; status 0 or 4.
//                       A journal left by an interrupted change is laid over the image in
//                       memory, after "<IMAGE>: an interrupted change is pending; it will be
//                       rolled back.". An image that can not be read or locked prints
//                       "fs5ck: <IMAGE>: <failure>" on `err`; status 8.
//   fs5ck -y [IMAGE]    under the exclusive lock, rolls such a journal back first ("<IMAGE>:
//                       an interrupted change was rolled back."), checks, and when there are
//                       problems repairs them all (Repair.h), as one transaction:
//   fs5ck -p [IMAGE]    or only those whose repair loses nothing. After the problem lines
//                       come the repair lines, then "<IMAGE>: <counts>, problems <found>,
//                       left <n>" with the counts and the problems of the image checked
//                       again; status 1 when none is left, 4 otherwise, 8 (with
//                       "fs5ck: <IMAGE>: <failure>" on `err`) when the image can not be
//                       written. A sound image is only checked.
//   fs5ck --help        the usage text on `out`; status 0 (whatever else is given).
//   fs5ck --version     "fs5ck <version>" on `out`; status 0 (whatever else but --help is
//                       given).
// Any other option, more than one of -n, -p and -y, or more than one image, prints the
// reason and a usage line on `err`; status 16.
int runChecker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_CHECKER_H_
