// The host tool's one door into the file-system operations: every lookup, creation, deletion,
// listing and content transfer the tool makes goes through these functions, and nothing else
// of the tool calls the fsops layer. Paths are absolute image path texts ("/home/anna/notes")
// or parsed PathNames; the operations print their failures through the stream's console,
// which the tool keeps and turns into its own messages.
#ifndef FS5_TOOLS_FS5_IMAGEOPS_H_
#define FS5_TOOLS_FS5_IMAGEOPS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fsops/List.h"
#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// The i-node the whole path names (0 for "/"), or -1; prints nothing.
int16_t lookUpObject(DiskStream& ds, const PathName& path);
// Reads i-node n as a folder or a file that lists datablocks; false (the reason printed)
// when it is neither, or lists none.
bool readUsable(DiskStream& ds, int16_t n, std::string_view name, Inode& node);

// One entry of a folder: its name and the i-node it names.
struct ImageEntry {
  std::string name;
  int16_t inode = 0;
};
// The entries of folder n in folder order, ".." and "." left out; false when a record of the
// folder can not be read (what was read so far is kept).
bool readFolderEntries(DiskStream& ds, int16_t n, std::vector<ImageEntry>& entries);
// The number of entries, ".." and "." included, that folder n holds.
int countFolderEntries(DiskStream& ds, int16_t n);

// The accounts in /etc/passwd in folder order, as the console's listing names owners.
std::vector<UserEntry> readAccounts(DiskStream& ds);
// The user number of the account `name`; -1 when there is no such account.
int16_t findAccountNumber(DiskStream& ds, std::string_view name);

// The creations, deletions and content transfers, with the operations' own results (0 or
// -1) and lines; quiet otherwise. A new object belongs to `owner` with the default rights.
int16_t makeImageFolder(DiskStream& ds, int16_t owner, std::string_view path);
int16_t makeImageFile(DiskStream& ds, int16_t owner, std::string_view path);
int16_t storeFileBytes(DiskStream& ds, std::string_view path, std::string_view bytes);
int16_t loadFileBytes(DiskStream& ds, const Inode& file, std::string& bytes);
int16_t deleteImageFile(DiskStream& ds, std::string_view path);
int16_t deleteImageTree(DiskStream& ds, std::string_view path);
// The console's listing of the folder at the path, printed on the console's standard output.
int16_t listImageFolder(DiskStream& ds, bool longForm, std::string_view path);

}  // namespace fs5

#endif  // FS5_TOOLS_FS5_IMAGEOPS_H_
