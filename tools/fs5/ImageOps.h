// The host tool's one door into the file-system operations: every lookup, creation, deletion,
// listing and content transfer the tool makes goes through these functions, and nothing else
// of the tool calls the fsops layer. An object is looked up once, by its parsed path, and the
// operations that take what a lookup found get that handle; the others take the absolute image
// path text ("/home/anna/notes"). The operations print their failures through the stream's
// console, which the tool keeps and turns into its own messages.
#ifndef FS5_TOOLS_FS5_IMAGEOPS_H_
#define FS5_TOOLS_FS5_IMAGEOPS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fsops/List.h"
#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// What the whole path names (the root for "/"), looked up quietly: not-found lines are kept
// back, the reasons a record can not be used are printed.
Handle lookUpObject(DiskStream& ds, const PathName& path);
// The entry {number, name} of the found folder, without a walk (fsops' lookupEntry).
Handle lookUpEntry(DiskStream& ds, const Handle& folder, const std::string& name, int16_t number);

// One entry of a folder: its name and the i-node it names.
struct ImageEntry {
  std::string name;
  int16_t inode = 0;
};
// The entries of the folder record `folder` in folder order, ".." and "." left out; false
// when a datablock of it can not be read (what was read so far is kept).
bool readFolderEntries(DiskStream& ds, const Inode& folder, std::vector<ImageEntry>& entries);
// The number of entries, ".." and "." included, that folder i-node n holds (0 when its record
// can not be read or is no folder).
int countFolderEntries(DiskStream& ds, int16_t n);

// The user number of the account `name`; -1 when there is no such account.
int16_t findAccountNumber(DiskStream& ds, std::string_view name);

// The creations, deletions and content transfers, with the operations' own results (0 or
// -1) and lines; quiet otherwise. A new object belongs to `owner` with the default rights.
int16_t makeImageFolder(DiskStream& ds, int16_t owner, std::string_view path);
int16_t makeImageFile(DiskStream& ds, int16_t owner, std::string_view path);
int16_t storeFileBytes(DiskStream& ds, std::string_view path, std::string_view bytes);
int16_t loadFileBytes(DiskStream& ds, const Inode& file, std::string& bytes);
int16_t deleteImageFile(DiskStream& ds, const Handle& file);
int16_t deleteImageTree(DiskStream& ds, const Handle& folder);
// The console's listing of the found folder, owners named from `owners` (the console's users
// table, users/AccountStore.h), printed on the console's standard output.
int16_t listImageFolder(DiskStream& ds, bool longForm, const std::vector<UserEntry>& owners,
                        const Handle& folder);

}  // namespace fs5

#endif  // FS5_TOOLS_FS5_IMAGEOPS_H_
