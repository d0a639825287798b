#include "path/PathName.h"
#include "storage/AccountRecord.h"
#include "tools/fs5ck/ImageScan.h"
#include "tools/fs5ck/Texts.h"

namespace fs5 {

// Judges the account files against the user map. Entries the tree has already reported (a
// free or unjudged i-node, or one it reached by another entry) are left out; nothing is
// judged when /etc/passwd is missing.
void ImageScan::checkAccounts() {
  int folder = 0;
  for (const std::string& name : splitPath(ACCOUNT_FOLDER)) {
    folder = findEntry(folder, name);
    if (!isJudged(folder)) {
      problem(Problem::kNoAccountFolder, {ACCOUNT_FOLDER});
      return;
    }
  }
  if (!isWalkable(folder) || !walked_[folder]) {
    problem(Problem::kAccountFolderNotFolder, {ACCOUNT_FOLDER});
    return;
  }
  std::vector<const TreeEntry*> holders(layout_.userCount(), nullptr);
  for (const TreeEntry& entry : folderEntries_[folder]) checkAccount(entry, holders);
  checkUserNumbers(holders);
}

// The i-node of the first entry `name` in a walked folder, or -1.
int ImageScan::findEntry(int folder, const std::string& name) const {
  if (!isInodeNumber(folder) || !walked_[folder]) return -1;
  for (const TreeEntry& e : folderEntries_[folder])
    if (e.name == name) return e.inode;
  return -1;
}

void ImageScan::checkAccount(const TreeEntry& entry, std::vector<const TreeEntry*>& holders) {
  std::string path = accountFilePath(entry.name);
  if (!isJudged(entry.inode) || reachedAs_[entry.inode] != path) return;
  const Inode& node = inodes_[entry.inode];
  if (node.isFolder()) {
    problem(Problem::kAccountNotFile, {path});
    return;
  }
  if (!node.isFile()) return;
  ++report_.accounts;
  FolderBlock record;
  if (record.read(ds_, node.getBlock(0)) < 0) return;
  int u = recordUserNumber(record);
  if (u < 0 || u >= layout_.userCount()) {
    problem(Problem::kUserNumberOutside, {path, decimal(u)});
    return;
  }
  if (!userUsed_[u]) problem(Problem::kUserNumberFree, {path, decimal(u)});
  if (holders[u] != nullptr)
    problem(Problem::kUserNumberShared, {path, decimal(u), holders[u]->name});
  else
    holders[u] = &entry;
}

void ImageScan::checkUserNumbers(const std::vector<const TreeEntry*>& holders) {
  if (holders[0] == nullptr)
    problem(Problem::kSuperuserUnheld, {});
  else if (holders[0]->name != SUPERUSER_NAME)
    problem(Problem::kSuperuserMisnamed, {holders[0]->name, SUPERUSER_NAME});
  for (int u = 1; u < layout_.userCount(); ++u)
    if (userUsed_[u] && holders[u] == nullptr) problem(Problem::kUserNumberUnheld, {decimal(u)});
}

}  // namespace fs5
