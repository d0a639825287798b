#include "fsops/Copy.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "storage/AllocMaps.h"
#include "storage/BlockReservation.h"
#include "storage/DataBlock.h"
#include "storage/FolderBlock.h"

namespace fs5 {

namespace {

constexpr int16_t UNUSABLE = -2;

// Resolves a path and reads its i-node: the number, -1 when it does not resolve, or UNUSABLE
// when what it names can not be used (readObject has said why).
int16_t readPath(DiskStream& ds, const PathName& path, Inode& node) {
  int16_t n = resolveWhole(ds, true, path);
  if (n < 0) return -1;
  return readObject(ds, n, path.lastName(), node) ? n : UNUSABLE;
}

// The file of the source's name in the destination folder (the source itself, when the folder
// is its own), made when missing; `to` gets the name appended. -1 after the reason is printed.
int16_t fileInFolder(DiskStream& ds, PathName& to, int16_t folder, const Inode& source,
                     const std::string& name) {
  Console& con = ds.console();
  if (to.append(con, name) < 0) return -1;
  int16_t existing = findInFolder(ds, false, folder, name);
  if (existing >= 0) {
    Inode there;
    if (!readObject(ds, existing, name, there)) return -1;
    if (there.isFile()) return existing;
    con.error("The folder or file \"" + name + "\" already exists.");
    return -1;
  }
  if (createFile(ds, false, source.getOwner(), to.getText()) < 0) return -1;
  return findInFolder(ds, true, folder, name);
}

// Replaces the content of the file `number` at `path` with a copy of the source's datablocks.
int16_t copyContent(DiskStream& ds, const Inode& source, const PathName& path, int16_t number) {
  if (eraseFile(ds, false, path.getText()) < 0) return -1;
  Inode copy;
  copy.read(ds, number);
  int16_t first = copy.getBlock(0);
  int wanted = source.getBlockCount();
  BlockReservation reserved(ds);
  if (!reserved.take(first >= 0 ? std::max(wanted - 1, 0) : wanted)) return -1;

  copyAttributes(source, copy);
  if (first >= 0) copy.appendBlock(first);
  for (int16_t k : reserved.blocks()) copy.appendBlock(k);
  for (int i = 0; i < wanted; ++i) {
    DataBlock block;
    if (block.read(ds, source.getBlock(i)) < 0) return -1;
    block.setBlockIndex(copy.getBlock(i));
    block.write(ds);
  }
  reserved.commit();
  copy.write(ds);
  return 0;
}

// True when `folder` is `top` or lies below it: the walk goes up through the ".." entries.
bool isInsideTree(DiskStream& ds, int16_t folder, int16_t top) {
  int16_t n = folder;
  for (int steps = 0; steps <= ds.layout().inodeCount() && n >= 0; ++steps) {
    if (n == top) return true;
    if (n == 0) return false;
    n = findInFolder(ds, false, n, "..");
  }
  return false;
}

// Gives the folder `name` in `parent` the rights bits `rights`.
void setFolderRights(DiskStream& ds, int16_t parent, const std::string& name, uint16_t rights) {
  Inode node;
  int16_t n = findInFolder(ds, true, parent, name);
  if (n < 0 || node.read(ds, n) < 0) return;
  node.setRights(rights);
  node.write(ds);
}

// Copies one entry of a source folder into the new folder `to`. False when it was not copied.
bool copyChild(DiskStream& ds, const PathName& from, const std::string& name, int16_t number,
               const PathName& to) {
  PathName child = from;
  if (child.append(ds.console(), name) < 0) return false;
  Inode node;
  if (!readObject(ds, number, name, node)) return false;
  if (node.isFile()) return copyFile(ds, false, child.getText(), to.getText()) == 0;
  return copyFolderTree(ds, false, child.getText(), to.getText()) == 0;
}

// Copies every entry of the source folder but ".." and "." into `to`, in folder order.
// False when any of them was not copied.
bool copyChildren(DiskStream& ds, const PathName& from, const Inode& source, const PathName& to) {
  bool complete = true;
  for (int b = 0; b < source.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, source.getBlock(b)) < 0) return false;
    for (int j = 0; j < block.getCount(); ++j) {
      std::string name = block.getEntryName(j);
      if (name == ".." || name == ".") continue;
      if (!copyChild(ds, from, name, block.getEntryInode(j), to)) complete = false;
    }
  }
  return complete;
}

}  // namespace

void copyAttributes(const Inode& from, Inode& to) {
  to.clear();
  if (from.isFolder()) {
    to.makeFolder(from.getOwner());
  } else if (from.isFile()) {
    to.makeFile(from.getOwner());
  } else {
    to.setOwner(from.getOwner());
  }
  to.setRights(from.getRights());
}

int16_t copyFile(DiskStream& ds, bool verbose, std::string_view source,
                 std::string_view destination) {
  Console& con = ds.console();
  if (source == "/") {
    con.error("The source of copying is the root folder \"/\", not a file.");
    return -1;
  }
  PathName from, to;
  if (from.parse(con, source) < 0 || to.parse(con, destination) < 0) return -1;
  Inode original;
  int16_t read = readPath(ds, from, original);
  if (read == UNUSABLE) return -1;
  if (read < 0 || !original.isFile()) {
    con.error("The source of copying is not a file.");
    con.readKey();
    return -1;
  }
  std::string name = from.lastName();
  Inode target;
  int16_t n = readPath(ds, to, target);
  if (n == UNUSABLE) return -1;
  if (n >= 0 && target.isFolder()) {
    n = fileInFolder(ds, to, n, original, name);
    if (n < 0 || !readObject(ds, n, name, target)) return -1;
  }
  if (n < 0 || !target.isFile()) {
    con.error("The destination of copying is neither a folder nor a file.");
    con.readKey();
    return -1;
  }
  if (n == original.getNumber()) {
    con.error("You can not copy a file onto itself.");
    return -1;
  }
  if (copyContent(ds, original, to, n) < 0) return -1;
  if (verbose) con.line("The file \"" + name + "\" was successfully copied.");
  return 0;
}

int16_t copyFolderTree(DiskStream& ds, bool verbose, std::string_view source,
                       std::string_view destination) {
  Console& con = ds.console();
  PathName from, to;
  if (from.parse(con, source) < 0 || to.parse(con, destination) < 0) return -1;
  Inode original, target;
  int16_t read = readPath(ds, from, original);
  if (read == UNUSABLE) return -1;
  if (read < 0 || !original.isFolder()) {
    con.error("The source of copying is not a folder.");
    con.readKey();
    return -1;
  }
  int16_t parent = readPath(ds, to, target);
  if (parent == UNUSABLE) return -1;
  if (parent < 0 || !target.isFolder()) {
    con.error("The destination of copying is not a folder.");
    con.readKey();
    return -1;
  }
  if (isInsideTree(ds, parent, original.getNumber())) {
    con.error("The destination of copying is inside the source folder.");
    return -1;
  }
  std::string name = from.lastName();
  if (to.append(con, name) < 0) return -1;
  if (createFolder(ds, false, original.getOwner(), to.getText()) < 0) return -1;
  setFolderRights(ds, parent, name, original.getRights());
  if (!copyChildren(ds, from, original, to)) {
    if (verbose) con.error("The folder \"" + name + "\" was not copied completely.");
    return -1;
  }
  if (verbose) con.line("The folder \"" + name + "\" was successfully copied.");
  return 0;
}

}  // namespace fs5
