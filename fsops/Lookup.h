// The file-system operations layer: lookup, creating, writing, printing, listing, deleting,
// copying and moving folders and files. It calls the path and storage layers and the console.
//
// Lookup turns names into i-node numbers. It only reads the image; nothing is cached.
//
// Commands find their objects with lookup: one walk from the root gives a Handle, which the
// operations take instead of the path text, so an operation acts on the object that was
// checked. The smaller functions below it serve callers that need only a number.
#ifndef FS5_FSOPS_LOOKUP_H_
#define FS5_FSOPS_LOOKUP_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// What a lookup of a whole path met.
enum class LookupResult {
  FOUND,     // a folder or a file whose record can be used
  MISSING,   // a component is not there (the not-found line is said with verbose)
  UNUSABLE,  // the record can not be read or used (readObject has said why)
  BAD_PATH,  // the text is not a path (too deep or too long: its lines are printed)
};

// What a lookup found: the object's i-node number and its record as read, the folder that
// holds it and its last name, or why there is nothing to use.
//
// The rule: only names and path texts cross a read from the person. A handle lives within
// one stretch of work, between two reads from the person. I-node numbers are reused once
// freed, and other consoles may change the image while this one waits, so after a wait for a
// key or a line (a confirmation, a password, the editor's typing, a failure's key) the path
// is looked up again, and checked again, before anything changes: one call,
// lookup(ds, verbose, handle.path). A tree walk goes on by looking up the next name. Within
// the stretch the numbers stay valid; an operation that changes a record reads it again
// rather than trust `node`, and writes a copy (Inode::write clears the record it writes).
struct Handle {
  LookupResult result = LookupResult::MISSING;
  int16_t number = -1;                 // the object's i-node (0 for the root), -1 when not found
  Inode node;                          // its record, when found
  int16_t parent = -1;                 // the folder holding it; -1 for the root or when not reached
  std::string name;                    // the path's last component ("/" for the root)
  std::optional<std::string> missing;  // the component not found, for reportMissing
  PathName path;                       // the absolute path it was looked up by

  bool found() const { return result == LookupResult::FOUND; }
  bool isRoot() const { return path.isRoot(); }
  bool isFolder() const { return found() && node.isFolder(); }
  bool isFile() const { return found() && node.isFile(); }
};

// Looks the whole path up from the root, once: each component in its folder, then the
// object's record read and checked with readObject. The root path "/" is i-node 0 without a
// walk (its record is read and checked too). The first missing component is kept in
// `missing`; with verbose its line "Folder or file "<name>" not found." is printed at once
// (standard error), without, reportMissing can print it later. The lines of records that
// can not be read or used are printed either way.
// Examples: "/etc/passwd" gives passwd's number, parent etc's, name "passwd"; "/etc/nosuch"
// gives MISSING with parent etc's and missing "nosuch"; "/no/x" gives MISSING, parent -1.
Handle lookup(DiskStream& ds, bool verbose, const PathName& path);
// The same for a path text, parsed first (BAD_PATH after the path's lines).
Handle lookup(DiskStream& ds, bool verbose, std::string_view path);
// The handle of the entry {number, name} of the found folder `folder`, without a walk: its
// record read and checked with readObject. BAD_PATH (after the depth or length lines) when
// the entry's path can not be formed. An entry with the empty name, which no path can name
// (a damaged folder), is MISSING after "Folder or file "" not found." (standard error); its
// record stays in `node`.
Handle lookupEntry(DiskStream& ds, const Handle& folder, const std::string& name, int16_t number);
// Prints the not-found line that a lookup kept back (none when a folder on the way could
// not be read: its line was printed then).
void reportMissing(Console& con, const Handle& handle);

// True when the handle names a usable file. Otherwise false after `rootLine` for the root,
// or ""<name>" is a folder,not a file." for a folder (standard error); a handle that found
// nothing usable has had its lines printed by the lookup.
bool isUsableFile(Console& con, const Handle& handle, std::string_view rootLine);

// The i-node named `name` among the valid entries of the folder `folder`, or -1. A folder
// that is not a folder, and the empty name, hold nothing. With verbose a miss prints
// "Folder or file "<name>" not found." to standard error, unless the folder's records could
// not be read (the out-of-range line for the bad number is printed then, verbose or not).
// The number returned is the entry's as stored: reading it checks its range. `unreadable`,
// when given, tells whether the folder's records could not be read.
int16_t findInFolder(DiskStream& ds, bool verbose, int folder, std::string_view name,
                     bool* unreadable = nullptr);

// Calls visit(name, inode) for each entry of the folder whose record is `folder` (read, and a
// folder), ".." and "." included, in folder order, until visit returns false. False when one
// of its datablocks can not be read (the read has said why; the entries before it have been
// visited); true otherwise, also when visit stopped the walk.
bool visitFolderEntries(DiskStream& ds, const Inode& folder,
                        const std::function<bool(const std::string& name, int16_t inode)>& visit);

// Walks components 0 to lastIndex of path from the root and returns the i-node of component
// lastIndex (only component 0 when lastIndex <= 0), or -1 after at most one not-found line
// naming the first missing component. The root path "/" is i-node 0 without a lookup.
int16_t resolvePath(DiskStream& ds, bool verbose, const PathName& path, int lastIndex);

// Reads the i-node n that an entry `name` names into `node`. False after the reason on
// standard error when it can not be used as a folder or a file: the out-of-range line,
// ""<name>" is neither a folder nor a file." (a free record or an unknown type), or
// ""<name>" lists no datablock.".
bool readObject(DiskStream& ds, int16_t n, std::string_view name, Inode& node);

// The i-node that the whole path names (the root for "/"), or -1.
int16_t resolveWhole(DiskStream& ds, bool verbose, const PathName& path);
// The folder that holds the path's last component: the root for one component, else the
// lookup of the components before it. -1 for the root path itself.
int16_t resolveHolder(DiskStream& ds, bool verbose, const PathName& path);

}  // namespace fs5

#endif  // FS5_FSOPS_LOOKUP_H_
