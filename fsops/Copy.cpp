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

// The file of the source's name in the destination folder (the source itself, when the folder
// is its own), made when missing. A handle that found nothing after the reason is printed.
Handle fileInFolder(DiskStream& ds, const Handle& folder, const Inode& source,
                    const std::string& name) {
  Console& con = ds.console();
  PathName path = folder.path;
  if (path.append(con, name) < 0) return {};
  int16_t n = findInFolder(ds, false, folder.number, name);
  if (n < 0) {
    if (createFile(ds, false, source.getOwner(), path.getText()) < 0) return {};
    n = findInFolder(ds, true, folder.number, name);
    if (n < 0) return {};
  }
  Handle file = lookupEntry(ds, folder, name, n);
  if (!file.found() || file.node.isFile()) return file;
  con.error("The folder or file \"" + name + "\" already exists.");
  return {};
}

// Replaces the content of the found file `to` with a copy of the source's datablocks.
int16_t copyContent(DiskStream& ds, const Inode& source, const Handle& to) {
  if (eraseFile(ds, false, to) < 0) return -1;
  Inode copy;
  copy.read(ds, to.number);
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

// Makes the folder of the source's name in the destination folder, owned by the source's
// owner and with its rights bits. A handle that found nothing after the reason is printed.
Handle makeFolderCopy(DiskStream& ds, const Handle& source, const Handle& destination) {
  PathName path = destination.path;
  if (path.append(ds.console(), source.name) < 0) return {};
  if (createFolder(ds, false, source.node.getOwner(), path.getText()) < 0) return {};
  int16_t n = findInFolder(ds, true, destination.number, source.name);
  if (n < 0) return {};
  Handle made = lookupEntry(ds, destination, source.name, n);
  if (!made.found()) return made;
  made.node.setRights(source.node.getRights());
  Inode written = made.node;  // writing clears the record written
  written.write(ds);
  return made;
}

// Copies one entry of a source folder into the new folder `to`: a file by copyFile, anything
// else by copyFolderTree, which say why when it is missing. False when it was not copied.
bool copyChild(DiskStream& ds, const Handle& child, const Handle& to) {
  if (child.result == LookupResult::UNUSABLE || child.result == LookupResult::BAD_PATH)
    return false;
  if (child.node.isFile()) return copyFile(ds, false, child, to) == 0;
  return copyFolderTree(ds, false, child, to) == 0;
}

// The folder `folder` looked up again by its path, quietly; false when that path no longer
// names the same folder. A child's copy may have waited for a key, and only path texts and
// names cross a wait.
bool refreshFolder(DiskStream& ds, Handle& folder) {
  Handle again = lookup(ds, false, folder.path);
  if (!again.isFolder() || again.number != folder.number) return false;
  folder = again;
  return true;
}

// The i-node of the entry {number, name} in datablock b of the folder (the one of that name
// nearest the start of the block's list), or of the first entry of that name anywhere;
// -1 when the name is gone. Datablock b is read first, so an unchanged folder is read no
// further.
int16_t entryNow(DiskStream& ds, const Handle& folder, int b, const std::string& name,
                 int16_t number) {
  FolderBlock block;
  if (b < folder.node.getBlockCount() && block.read(ds, folder.node.getBlock(b)) >= 0)
    for (int j = 0; j < block.getCount(); ++j)
      if (block.getEntryName(j) == name && block.getEntryInode(j) == number) return number;
  return findInFolder(ds, false, folder.number, name);
}

// Copies every entry of the source folder but ".." and "." into `to`, in folder order. Only
// the names of a datablock's entries are kept from one child to the next: before each child
// both folders are looked up again by path and the child by its name, so a wait in a child's
// copy leaves nothing stale. A folder or a name gone meanwhile is skipped. False when any
// entry was not copied.
bool copyChildren(DiskStream& ds, const Handle& from, const Handle& to) {
  bool complete = true;
  Handle source = from;
  Handle into = to;
  for (int b = 0; b < source.node.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, source.node.getBlock(b)) < 0) return false;
    for (int j = 0; j < block.getCount(); ++j) {
      std::string name = block.getEntryName(j);
      if (name == ".." || name == ".") continue;
      if (!refreshFolder(ds, source) || !refreshFolder(ds, into)) return false;
      int16_t n = entryNow(ds, source, b, name, block.getEntryInode(j));
      if (n < 0 || !copyChild(ds, lookupEntry(ds, source, name, n), into)) complete = false;
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

int16_t copyFile(DiskStream& ds, bool verbose, const Handle& source, const Handle& destination) {
  Console& con = ds.console();
  if (source.isRoot()) {
    con.error("The source of copying is the root folder \"/\", not a file.");
    return -1;
  }
  if (source.result == LookupResult::UNUSABLE) return -1;
  if (!source.isFile()) {
    con.error("The source of copying is not a file.");
    con.readKey();
    return -1;
  }
  if (destination.result == LookupResult::UNUSABLE) return -1;
  reportMissing(con, destination);
  Handle target = destination;
  if (target.isFolder()) {
    target = fileInFolder(ds, destination, source.node, source.name);
    if (!target.found()) return -1;
  }
  if (!target.isFile()) {
    con.error("The destination of copying is neither a folder nor a file.");
    con.readKey();
    return -1;
  }
  if (target.number == source.number) {
    con.error("You can not copy a file onto itself.");
    return -1;
  }
  if (copyContent(ds, source.node, target) < 0) return -1;
  if (verbose) con.line("The file \"" + source.name + "\" was successfully copied.");
  return 0;
}

int16_t copyFolderTree(DiskStream& ds, bool verbose, const Handle& source,
                       const Handle& destination) {
  Console& con = ds.console();
  if (source.result == LookupResult::UNUSABLE) return -1;
  if (!source.isFolder()) {
    con.error("The source of copying is not a folder.");
    con.readKey();
    return -1;
  }
  if (destination.result == LookupResult::UNUSABLE) return -1;
  reportMissing(con, destination);
  if (!destination.isFolder()) {
    con.error("The destination of copying is not a folder.");
    con.readKey();
    return -1;
  }
  if (isInsideTree(ds, destination.number, source.number)) {
    con.error("The destination of copying is inside the source folder.");
    return -1;
  }
  Handle made = makeFolderCopy(ds, source, destination);
  if (!made.found()) return -1;
  if (!copyChildren(ds, source, made)) {
    if (verbose) con.error("The folder \"" + source.name + "\" was not copied completely.");
    return -1;
  }
  if (verbose) con.line("The folder \"" + source.name + "\" was successfully copied.");
  return 0;
}

}  // namespace fs5
