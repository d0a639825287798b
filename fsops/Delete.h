// Deleting files and folder trees, and taking entries out of folders.
//
// Folders stay dense: an entry is taken out by moving the folder's very last entry into its
// slot, and a last datablock that becomes empty is given back. So for a folder with the blocks
// ["..", ".", A] [B, C], taking out B leaves ["..", ".", A] [C], and taking out A leaves
// ["..", ".", C] [B]; for ["..", ".", A] [B], taking out A leaves ["..", ".", B] alone.
//
// The operations take what a lookup found (see fsops/Lookup.h); the forms that take an absolute
// path text look it up themselves. Every operation returns 0 on success and -1 on failure,
// after printing why.
#ifndef FS5_FSOPS_DELETE_H_
#define FS5_FSOPS_DELETE_H_

#include <cstdint>
#include <string_view>

#include "fsops/Lookup.h"
#include "storage/DiskStream.h"

namespace fs5 {

// The questions asked before rm and rmdir delete anything: "Delete file with all its
// content?" and "("Enter" - yes, "Esc" + "Enter"- no)", or "Delete folder with all its
// content?" and "("Enter" - yes, "Esc" - no)", then one key read: false for Escape or the end
// of input. The answer is a wait: the caller looks its target up again afterwards.
bool confirmFileDeletion(Console& con);
bool confirmFolderDeletion(Console& con);

// Deletes the file: empties it (eraseFile), then removeEntry, both verbose with verbose. A
// folder is refused by the erase (""<name>" is a folder,not a file.", -1).
int16_t deleteFile(DiskStream& ds, bool verbose, const Handle& file);
// The same for an absolute path text, looked up (with verbose) first.
int16_t deleteFile(DiskStream& ds, bool verbose, std::string_view path);

// Takes the found entry out of the folder that holds it (found by the entry's name there, as
// lookups meet it), then frees the
// object's first datablock and its i-node; it looks at nothing else of the object, so the
// caller has given back every other datablock first. The target is looked for before anything
// changes. Refusals, with nothing changed:
//   "The folder "/" can not be deleted." and an empty line (standard output)   for "/"
//   "The <kind> "<name>" can not be deleted."            a last component "." or ".."
//   "The <kind> "<name>" was not deleted because it was not found."  (no folder holds it)
// (<kind> is "folder" or "file" after isFolder; these go to standard error.) Failures after
// the entry has left its folder (standard error): a first datablock already free prints
// "The first datablock in list of the <kind> "<name>" " and "(number: <n>) was not deleted."
// (for a folder "(number: <n>; contains ".." and ".") was not deleted.") and the removal goes
// on; an i-node already free prints "The <kind> "<name>"was not deleted." (or, when the target
// was not the folder's last entry, "The <kind> "<name> "was not deleted.", the moved entry
// still taking its slot) and gives -1. A last datablock that cannot be given back prints
// "The last datablock in list (which is empty now) was not deleted." and gives -1.
// With verbose a success prints "Deleting <kind>: "<name>"." and an end of line to standard
// output. Whenever the folder's last entry moved into the target's slot an end of line is
// printed, verbose or not: a quiet removal of any entry but the last prints one empty line.
int16_t removeEntry(DiskStream& ds, bool verbose, bool isFolder, const Handle& entry);

// The twin of removeEntry that frees nothing: the entry leaves its folder exactly as there
// (the last entry moving into its slot, with one end of line on standard output when it
// moved), and the object keeps its i-node and datablocks. isFolder only picks the <kind>
// word. Refusals, with nothing changed:
//   "The folder "/" entry can not be deleted." (standard output)                for "/"
//   "The <kind> "<name>" entry can not be deleted."         a last component "." or ".."
//   "The entry about <kind> "<name>" was not deleted because it was not found."
// (all but the first on standard error) and, as in removeEntry, "The last datablock in list
// (which is empty now) was not deleted.".
int16_t detachEntry(DiskStream& ds, bool isFolder, const Handle& entry);

// Deletes the found folder with everything below it, depth first: one child per pass (files
// with deleteFile, folders with deleteFolderTree, both quiet), re-reading the folder each
// pass, until only ".." and "." are left; then clears the screen and takes the folder out
// with removeEntry (verbose with verbose). Every folder of the tree clears the screen just
// before its own entry is removed. No rights are tested and nothing is read from the person.
// Refusals (standard error): "The root folder "/" can not be destroyed." and "The folder
// "<name>" can not be deleted." for a last component "." or ".."; then ""<name>" is a
// file,not a folder." for a file (a handle that found nothing usable fails silently: its
// lookup has said why). The deletion ends with -1 at the first child that could not be
// deleted, or whose path would be deeper than 8 components (after the path's depth lines).
int16_t deleteFolderTree(DiskStream& ds, bool verbose, const Handle& folder);
// The same for an absolute path text, looked up (with verbose) after the refusals.
int16_t deleteFolderTree(DiskStream& ds, bool verbose, std::string_view path);

}  // namespace fs5

#endif  // FS5_FSOPS_DELETE_H_
