#include "tools/fs5/ImageOps.h"

#include "fsops/Content.h"
#include "fsops/Create.h"
#include "fsops/Delete.h"
#include "users/AccountStore.h"

namespace fs5 {

Handle lookUpObject(DiskStream& ds, const PathName& path) { return lookup(ds, false, path); }

Handle lookUpEntry(DiskStream& ds, const Handle& folder, const std::string& name, int16_t number) {
  return lookupEntry(ds, folder, name, number);
}

bool readFolderEntries(DiskStream& ds, const Inode& folder, std::vector<ImageEntry>& entries) {
  return visitFolderEntries(ds, folder, [&entries](const std::string& name, int16_t inode) {
    if (name != "." && name != "..") entries.push_back({name, inode});
    return true;
  });
}

int countFolderEntries(DiskStream& ds, int16_t n) {
  Inode folder;
  int count = 0;
  if (folder.read(ds, n) < 0 || !folder.isFolder()) return count;
  visitFolderEntries(ds, folder, [&count](const std::string&, int16_t) { return ++count > 0; });
  return count;
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

int16_t deleteImageFile(DiskStream& ds, const Handle& file) { return deleteFile(ds, false, file); }

int16_t deleteImageTree(DiskStream& ds, const Handle& folder) {
  return deleteFolderTree(ds, false, folder);
}

int16_t listImageFolder(DiskStream& ds, bool longForm, const std::vector<UserEntry>& owners,
                        const Handle& folder) {
  return listFolder(ds, longForm, owners, folder);
}

}  // namespace fs5
