#include "fsops/Create.h"

#include <string>

#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "storage/AllocMaps.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// Gives back an allocated i-node and datablock unless the creation commits.
class Allocation {
 public:
  explicit Allocation(DiskStream& ds) : ds_(ds) {}
  // The i-node goes first, so its record never lists a datablock that is already free.
  ~Allocation() {
    if (committed_) return;
    if (inode_ >= 0) freeInode(ds_, inode_);
    if (block_ >= 0) freeBlock(ds_, block_);
  }
  void holdInode(int16_t n) { inode_ = n; }
  void holdBlock(int16_t k) { block_ = k; }
  void commit() { committed_ = true; }

 private:
  DiskStream& ds_;
  int16_t inode_ = -1;
  int16_t block_ = -1;
  bool committed_ = false;
};

void printCanNotCreate(Console& con, bool isFolder, std::string_view name) {
  con.error("Can not create " + kindWord(isFolder) + " \"" + std::string(name) + "\".");
}

// The tests made before anything is allocated: the parent's i-node number, or -1.
int16_t checkNewName(DiskStream& ds, bool isFolder, const PathName& path) {
  Console& con = ds.console();
  std::string name = path.lastName();
  int16_t parent = resolveHolder(ds, true, path);
  Inode holder;
  if (parent < 0 || holder.read(ds, parent) < 0 || !holder.isFolder() ||
      holder.getBlockCount() == 0) {
    printCanNotCreate(con, isFolder, name);
    return -1;
  }
  if (name.empty() || name.find('\0') != std::string::npos) {
    printCanNotCreate(con, isFolder, name);
    return -1;
  }
  if (name.size() > MAX_NAME) {
    printNameTooLong(con);
    return -1;
  }
  bool unreadable = false;
  if (findInFolder(ds, false, parent, name, &unreadable) >= 0) {
    con.error("The folder or file \"" + name + "\" already exists.");
    return -1;
  }
  if (unreadable) {
    printCanNotCreate(con, isFolder, name);
    return -1;
  }
  return parent;
}

}  // namespace

int16_t createNode(DiskStream& ds, bool verbose, bool isFolder, int16_t owner,
                   std::string_view path) {
  Console& con = ds.console();
  if (path == "/") {
    printCanNotCreate(con, isFolder, "/");
    return -1;
  }
  PathName target;
  if (target.parse(con, path) < 0) return -1;
  std::string name = target.lastName();
  int16_t parentNumber = checkNewName(ds, isFolder, target);
  if (parentNumber < 0) return -1;

  Allocation taken(ds);
  Inode node;
  if (node.allocate(ds) < 0) {
    printCanNotCreate(con, isFolder, name);
    return -1;
  }
  taken.holdInode(node.getNumber());
  FolderBlock own;
  if (own.allocate(ds) < 0) {
    printCanNotCreate(con, isFolder, name);
    return -1;
  }
  taken.holdBlock(own.getBlockIndex());
  isFolder ? node.makeFolder(owner) : node.makeFile(owner);
  node.appendBlock(own.getBlockIndex());
  int16_t number = node.getNumber();
  // The new i-node and its first datablock are written before an entry names them.
  if (isFolder) {
    own.addEntry(ds.console(), parentNumber, "..");
    own.addEntry(ds.console(), number, ".");
    own.write(ds);
  }
  node.write(ds);

  Inode parent;
  if (parent.read(ds, parentNumber) < 0) return -1;
  FolderBlock last;
  last.setBlockIndex(parent.getBlock(parent.getBlockCount() - 1));
  if (addChildEntry(ds, parent, last, isFolder, number, name) < 0) return -1;
  taken.commit();
  parent.write(ds);
  if (verbose)
    con.line("The " + kindWord(isFolder) + " \"" + name + "\" was created successfully.");
  return 0;
}

int16_t createFolder(DiskStream& ds, bool verbose, int16_t owner, std::string_view path) {
  return createNode(ds, verbose, true, owner, path);
}

int16_t createFile(DiskStream& ds, bool verbose, int16_t owner, std::string_view path) {
  return createNode(ds, verbose, false, owner, path);
}

}  // namespace fs5
