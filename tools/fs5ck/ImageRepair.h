// What the repair's passes share: the image read into memory (maps, records, datablock
// contents as they will be written), which i-node each datablock goes to, the tree as it
// will be, and the lines said. Repair.cpp reads the image, fixes records and writes; the tree
// and the accounts are in RepairTree.cpp and RepairAccounts.cpp.
#ifndef FS5_TOOLS_FS5CK_IMAGEREPAIR_H_
#define FS5_TOOLS_FS5CK_IMAGEREPAIR_H_

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "storage/DiskStream.h"
#include "storage/Inode.h"
#include "tools/fs5ck/Problems.h"
#include "tools/fs5ck/Repair.h"

namespace fs5 {

using BlockBytes = std::array<uint8_t, BLOCK_SIZE>;

struct RepairEntry {
  std::string name;
  int inode = 0;
};

// A folder's entries as its datablocks hold them: ".." and "." when in their places (slots
// 0 and 1 of the first datablock), the others in block and slot order.
struct FolderScan {
  std::optional<int> dotDot, dot;
  std::vector<RepairEntry> others;
};

class ImageRepair {
 public:
  // The stream's layout must be valid and the file as long as it needs.
  ImageRepair(DiskStream& ds, RepairMode mode, const std::vector<Finding>& found);

  // Decides and writes every repair; returns the lines.
  std::vector<std::string> run();

 private:
  // Repair.cpp: reading, records, datablocks, writing.
  void load();
  void rebuildRoot();
  void fixRecord(int n);
  bool looksLikeFolder(int n, const std::vector<int16_t>& list);
  void copySharedBlocks();
  void findStrayBlocks();
  void giveEmptyBlocks();
  int takeBlock(int n, const BlockBytes& content);
  int takeInode();
  void makeRecord(int n, bool folder);
  BlockBytes blockBytes(int k);
  std::vector<int16_t> listOf(int n) const;
  void setList(int n, const std::vector<int16_t>& list);
  bool userWanted(int u) const;
  // True when the repair may change the map byte of `what` n: always under -y.
  bool mayChange(const std::string& what, int n) const;
  // Lets -p change the map byte of `what` n: one that a lossless repair brings into use.
  void allow(const std::string& what, int n);
  void apply();
  void markUsed();
  void markFree();
  void freeInodeRecord(int n, bool used);
  void freeDatablock(int k, bool used);

  // RepairTree.cpp: the tree, /lost+found and the folders' layout.
  void walk(int n, int parent, const std::string& path, int depth, bool moved);
  FolderScan readFolder(int n);
  bool follows(const RepairEntry& e, const std::set<std::string>& names,
               const std::string& folderPath, int depth) const;
  void takeOut(int folder, const std::string& path, const RepairEntry& e);
  int ensureFolder(int parent, const std::string& name);
  int findFolder(int parent, const std::string& name) const;
  void reconnectOrphans();
  void keepStrayBlocks();
  int nextOrphan() const;
  int topOfOrphans(int m, const std::vector<std::vector<int>>& namers) const;
  std::string freeName(int folder, const std::string& base) const;
  void layOutFolder(int n);

  // RepairAccounts.cpp: /etc/passwd and the user numbers.
  void fixAccounts(int passwd);
  int chooseSuperuser(int passwd, const std::vector<int>& accounts);
  void giveOwnNumbers(int passwd, const std::vector<int>& accounts, int root);
  std::vector<int> accountSlots(int passwd) const;
  int userNumber(const RepairEntry& account);
  void setUserNumber(int passwd, RepairEntry& account, int u);
  void makeRootAccount(int passwd);
  void countHolders();

  bool isInodeNumber(int n) const { return n >= 0 && n < layout_.inodeCount(); }
  bool inArea(int k) const { return k >= 0 && k < layout_.blockCount(); }
  bool isFolder(int n) const { return hasRecord_[n] && nodes_[n].isFolder(); }
  bool isOrphan(int n) const { return keep_[n] && !reached_[n] && hasRecord_[n]; }
  // Marks i-node n in use and reached, and says the lines kept back for it.
  void reach(int n);
  void say(const std::string& line) { lines_.push_back(line); }
  // Says a line about record n now, or, while the record is free in the map and no entry has
  // reached it, when one does (a record never reached is zeroed without them).
  void note(int n, const std::string& line);
  // Says a line about a folder's entries (only under -y) and notes that the folder changed.
  void announce(int folder, const std::string& line);

  DiskStream& ds_;
  const DiskLayout& layout_;
  const bool all_;
  // The map bytes of the problems found whose rows are lossless, as "i-node 5", and of what
  // their repairs bring into use (what a folder marked used holds, a file lists, and so on).
  std::set<std::string> lossless_;
  std::vector<std::string> lines_;
  std::vector<std::vector<std::string>> heldBack_;
  std::vector<uint8_t> inodeMap_, blockMap_, userMap_;
  std::vector<Inode> nodes_;
  // Records not all zero (as read, or made by the repair).
  std::vector<bool> hasRecord_;
  // I-nodes in use after the repair, and those an entry of the tree reaches.
  std::vector<bool> keep_, reached_;
  // Folders walked, made by the repair, and those whose entries changed with a line said.
  std::vector<bool> walked_, made_, changed_;
  std::vector<bool> recordChanged_;
  // -p only: i-nodes some entry names and datablocks some block slot names.
  std::vector<bool> namedInode_, namedBlock_;
  // Map bytes whose change another line has already said.
  std::vector<bool> inodeSaid_, blockSaid_, userSaid_;
  // The i-node each datablock goes to, or -1.
  std::vector<int> lister_;
  std::vector<std::string> pathOf_;
  // The entries each walked folder will hold, ".." and "." first.
  std::vector<std::vector<RepairEntry>> entries_;
  // Datablock contents to write.
  std::map<int, BlockBytes> pending_;
  // Datablocks listed by the i-nodes in use, once every change is decided.
  std::vector<bool> blockInUse_;
  // -y only: datablocks used in the map, listed by no record and not all zero. The repair
  // takes none of them for itself; each is kept as a file in /lost+found, or left as it is.
  std::vector<bool> stray_;
  // User numbers held by an account; false when /etc/passwd was not found.
  std::vector<bool> held_;
  bool accountsKnown_ = false;
};

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_IMAGEREPAIR_H_
