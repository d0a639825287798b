#include "tools/fs5/ImageOps.h"

#include "fsops/Content.h"
#include "fsops/Create.h"
#include "fsops/Delete.h"
#include "fsops/List.h"
#include "fsops/Lookup.h"
#include "storage/FolderBlock.h"
#include "users/AccountStore.h"

namespace fs5 {

int16_t lookUpObject(DiskStream& ds, const PathName& path) {
  if (path.isRoot()) return 0;
  return resolveWhole(ds, false, path);
}

bool readUsable(DiskStream& ds, int16_t n, std::string_view name, Inode& node) {
  return readObject(ds, n, name, node);
}

namespace {

// Calls visit(name, inode) for every entry of folder n, ".." and "." included; false when a
// record of the folder can not be read.
template <typename Visit>
bool visitEntries(DiskStream& ds, int16_t n, Visit visit) {
  Inode folder;
  if (folder.read(ds, n) < 0 || !folder.isFolder()) return false;
  for (int b = 0; b < folder.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, folder.getBlock(b)) < 0) return false;
    for (int slot = 0; slot < block.getCount(); ++slot)
      visit(block.getEntryName(slot), block.getEntryInode(slot));
  }
  return true;
}

}  // namespace

bool readFolderEntries(DiskStream& ds, int16_t n, std::vector<ImageEntry>& entries) {
  return visitEntries(ds, n, [&entries](const std::string& name, int16_t inode) {
    if (name != "." && name != "..") entries.push_back({name, inode});
  });
}

int countFolderEntries(DiskStream& ds, int16_t n) {
  int count = 0;
  visitEntries(ds, n, [&count](const std::string&, int16_t) { ++count; });
  return count;
}

std::vector<UserEntry> readAccounts(DiskStream& ds) {
  std::vector<UserEntry> owners;
  PathName passwd;
  passwd.parse(ds.console(), "/etc/passwd");
  int16_t folder = resolveWhole(ds, false, passwd);
  std::vector<ImageEntry> entries;
  if (folder >= 0) readFolderEntries(ds, folder, entries);
  for (const ImageEntry& entry : entries) {
    UserRecord record;
    if (findUserRecord(ds, entry.name, record) == 0) owners.push_back({record.number, entry.name});
  }
  return owners;
}

int16_t findAccountNumber(DiskStream& ds, std::string_view name) {
  UserRecord record;
  if (!isValidUserName(name) || findUserRecord(ds, name, record) != 0) return -1;
  return record.number;
}

int16_t makeImageFolder(DiskStream& ds, int16_t owner, std::string_view path) {
  return createFolder(ds, false, owner, path);
}

int16_t makeImageFile(DiskStream& ds, int16_t owner, std::string_view path) {
  return createFile(ds, false, owner, path);
}

int16_t storeFileBytes(DiskStream& ds, std::string_view path, std::string_view bytes) {
  return storeContent(ds, lookup(ds, true, path), bytes) == StoreResult::STORED ? 0 : -1;
}

int16_t loadFileBytes(DiskStream& ds, const Inode& file, std::string& bytes) {
  return readContent(ds, file, bytes);
}

int16_t deleteImageFile(DiskStream& ds, std::string_view path) {
  return deleteFile(ds, false, path);
}

int16_t deleteImageTree(DiskStream& ds, std::string_view path) {
  return deleteFolderTree(ds, false, path);
}

int16_t listImageFolder(DiskStream& ds, bool longForm, std::string_view path) {
  return listFolder(ds, longForm, readAccounts(ds), lookup(ds, true, path));
}

}  // namespace fs5
