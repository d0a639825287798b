// What the checker's passes share while they go through one image: the maps, every i-node
// record, which i-node lists each datablock, and the folders of the tree as they were met.
// The passes run in this order: maps, i-node table, datablocks, root, tree, orphans, accounts;
// each adds its problem lines to the report.
#ifndef FS5_TOOLS_FS5CK_IMAGESCAN_H_
#define FS5_TOOLS_FS5CK_IMAGESCAN_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/DiskStream.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tools/fs5ck/Checker.h"
#include "tools/fs5ck/Problems.h"

namespace fs5 {

// One valid entry of a folder block, with the datablock and slot it was read from.
struct TreeEntry {
  std::string name;
  int inode = 0;
  int block = 0;
  int slot = 0;
};

class ImageScan {
 public:
  // The stream's layout must be valid and the file at least as long as the layout needs.
  ImageScan(DiskStream& ds, CheckReport& report);

  // Runs every pass in order.
  void run();

 private:
  using MapByte = std::optional<int64_t> (DiskLayout::*)(int) const;

  // Checker.cpp: the maps, the i-node table and the datablocks.
  void scanMap(const std::string& what, int count, MapByte byteAt, std::vector<bool>& used);
  void scanInodes();
  void checkUsedInode(int n, const uint8_t* record);
  void listBlock(int n, int k, std::vector<bool>& seen);
  void scanBlocks();

  // TreeCheck.cpp: the root, the folders reached from it, and the i-nodes reached by none.
  bool checkRoot();
  void walkFolder(int n, int parent, const std::string& path, int depth);
  std::vector<TreeEntry> readFolder(int n, int parent, const std::string& path);
  void checkCount(int k, int stored, bool isLast, const std::string& path);
  void checkSlotsPastCount(const FolderBlock& block, int k, const std::string& path);
  void checkDots(const FolderBlock& block, int n, int parent, const std::string& path);
  std::vector<TreeEntry> checkNames(const std::vector<TreeEntry>& entries, const std::string& path);
  void followEntry(const TreeEntry& entry, const std::string& folderPath, int depth);
  void checkOrphans();

  // AccountCheck.cpp: /etc/passwd and the user map.
  void checkAccounts();
  int findEntry(int folder, const std::string& name) const;
  void checkAccount(const TreeEntry& entry, std::vector<const TreeEntry*>& holders);
  void checkUserNumbers(const std::vector<const TreeEntry*>& holders);

  bool isInodeNumber(int n) const { return n >= 0 && n < layout_.inodeCount(); }
  // A used i-node with a record that is not all zero: the ones whose content is judged.
  bool isJudged(int n) const { return isInodeNumber(n) && recordSet_[n]; }
  bool isWalkable(int n) const { return isJudged(n) && inodes_[n].isFolder(); }
  void problem(Problem p, std::vector<std::string> values) {
    report_.found.push_back({p, std::move(values)});
    report_.problems.push_back(problemLine(report_.found.back()));
  }

  DiskStream& ds_;
  CheckReport& report_;
  const DiskLayout& layout_;
  std::vector<bool> inodeUsed_, blockUsed_, userUsed_;
  std::vector<Inode> inodes_;
  std::vector<bool> recordSet_;
  // The first judged i-node that lists each datablock, or -1.
  std::vector<int> blockLister_;
  // The path by which the tree reached each i-node ("" when not reached).
  std::vector<std::string> reachedAs_;
  // The folders on the way from the root down to the one being walked.
  std::vector<int> ancestors_;
  // The followed entries of each folder the tree walked ("." and ".." left out).
  std::vector<std::vector<TreeEntry>> folderEntries_;
  std::vector<bool> walked_;
};

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_IMAGESCAN_H_
