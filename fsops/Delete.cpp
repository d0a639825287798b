#include "fsops/Delete.h"

#include <string>

#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "storage/AllocMaps.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

std::string quotedName(std::string_view name) { return "\"" + std::string(name) + "\""; }

bool isDotName(std::string_view name) { return name == "." || name == ".."; }

// Where an entry stands: the position of its datablock in the folder's list, the datablock,
// the slot, and the entry itself.
struct EntrySpot {
  int listPos = -1;
  int16_t block = -1;
  int slot = -1;
  int16_t inode = 0;
  std::string name;
};

// An entry to take out of its folder: the folder, where the target stands, and the folder's
// last entry, which takes the target's slot unless they are the same.
struct Removal {
  Inode folder;
  EntrySpot target;
  EntrySpot last;
  bool targetWasLast() const { return target.listPos == last.listPos && target.slot == last.slot; }
};

EntrySpot spotOf(const FolderBlock& block, int listPos, int slot) {
  return {listPos, block.getBlockIndex(), slot, block.getEntryInode(slot),
          block.getEntryName(slot)};
}

// The first valid entry named `name`, in list order and then slot order, as lookups meet it.
bool findSpot(DiskStream& ds, const Inode& folder, std::string_view name, EntrySpot& spot) {
  for (int b = 0; b < folder.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, folder.getBlock(b)) < 0) return false;
    for (int slot = 0; slot < block.getCount(); ++slot) {
      if (block.getEntryName(slot) != name) continue;
      spot = spotOf(block, b, slot);
      return true;
    }
  }
  return false;
}

void reportLastBlock(Console& con) {
  con.error("The last datablock in list (which is empty now) was not deleted.");
}

// Finds the target among the entries of its folder and the folder's last entry, changing
// nothing. When the target is not there, `notFound` is printed.
bool planRemoval(DiskStream& ds, const Handle& entry, const std::string& notFound, Removal& r) {
  if (entry.parent < 0 || r.folder.read(ds, entry.parent) < 0 || !r.folder.isFolder() ||
      !findSpot(ds, r.folder, entry.name, r.target)) {
    ds.console().error(notFound);
    return false;
  }
  int listPos = r.folder.getBlockCount() - 1;
  FolderBlock block;
  if (block.read(ds, r.folder.getBlock(listPos)) < 0) return false;
  if (block.getCount() == 0) {
    reportLastBlock(ds.console());
    return false;
  }
  r.last = spotOf(block, listPos, block.getCount() - 1);
  return true;
}

// Puts the folder's last entry into the slot where the target stood. The entry is named twice
// until emptyLastSlot takes its old slot away: it is never named nowhere.
void fillHole(DiskStream& ds, const Removal& r) {
  FolderBlock block;
  block.read(ds, r.target.block);
  block.clearEntry(r.target.slot);
  block.setEntryInode(r.target.slot, r.last.inode);
  block.setEntryName(r.target.slot, r.last.name);
  block.write(ds);
}

// Empties the folder's last slot. When it was alone in the last datablock, the folder's i-node
// is written without that datablock first, and the datablock given back after.
bool emptyLastSlot(DiskStream& ds, Removal& r) {
  FolderBlock block;
  block.read(ds, r.last.block);
  if (block.getCount() > 1) {
    block.clearEntry(r.last.slot);
    block.decrementCount();
    return block.write(ds);
  }
  r.folder.removeLastBlock();
  Inode folder = r.folder;
  folder.write(ds);
  if (freeBlock(ds, r.last.block) == 0) return true;
  reportLastBlock(ds.console());
  return false;
}

// Takes the planned entry out: the last entry moves into the target's slot, then its own slot
// is emptied.
bool unlinkEntry(DiskStream& ds, Removal& r) {
  if (!r.targetWasLast()) fillHole(ds, r);
  return emptyLastSlot(ds, r);
}

// False after `rootLine` (standard output) for the root, or after "The <kind> "<name>"
// <dotSuffix>" (standard error) for a "." or ".." entry: entries that are never taken out.
bool isRemovable(Console& con, const Handle& entry, bool isFolder, std::string_view rootLine,
                 std::string_view dotSuffix) {
  if (entry.isRoot()) {
    con.print(rootLine);
    return false;
  }
  if (!isDotName(entry.name)) return true;
  con.error("The " + kindWord(isFolder) + " " + quotedName(entry.name) + std::string(dotSuffix));
  return false;
}

void reportFirstBlock(Console& con, bool isFolder, const std::string& name, int16_t block) {
  con.error("The first datablock in list of the " + kindWord(isFolder) + " " + quotedName(name) +
            " ");
  con.error("(number: " + std::to_string(block) +
            (isFolder ? "; contains \"..\" and \".\")" : ")") + " was not deleted.");
}

// Frees the object's i-node, then its first datablock, which the i-node no longer lists (a
// failure there is reported and passed over). False when the i-node could not be freed.
bool freeObject(DiskStream& ds, bool isFolder, const std::string& name, int16_t number) {
  Inode node;
  node.read(ds, number);
  int16_t first = node.getBlock(0);
  bool freed = freeInode(ds, number) == 0;
  if (freeBlock(ds, first) < 0) reportFirstBlock(ds.console(), isFolder, name, first);
  return freed;
}

// Deletes one child of a folder tree, quietly: a file with deleteFile, anything else as a
// folder.
int16_t deleteChild(DiskStream& ds, const Handle& child) {
  if (!child.found()) return -1;
  if (child.node.isFile()) return deleteFile(ds, false, child);
  return deleteFolderTree(ds, false, child);
}

// The first entry of the folder other than ".." and ".", in list and slot order; false when
// only those two are left.
bool firstChild(DiskStream& ds, int16_t folder, EntrySpot& child) {
  Inode node;
  if (node.read(ds, folder) < 0) return false;
  for (int b = 0; b < node.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, node.getBlock(b)) < 0) return false;
    for (int slot = 0; slot < block.getCount(); ++slot) {
      if (isDotName(block.getEntryName(slot))) continue;
      child = spotOf(block, b, slot);
      return true;
    }
  }
  return false;
}

// Deletes the children of the folder one per pass, each pass reading the folder afresh,
// until it is empty. -1 at the first child that could not be deleted or named.
int16_t deleteChildren(DiskStream& ds, const Handle& folder) {
  EntrySpot child;
  while (firstChild(ds, folder.number, child))
    if (deleteChild(ds, lookupEntry(ds, folder, child.name, child.inode)) < 0) return -1;
  return 0;
}

// Erases the file, then takes its entry out; both say what they did when verbose.
int16_t eraseAndRemove(DiskStream& ds, bool verbose, const Handle& file) {
  if (eraseFile(ds, verbose, file) < 0) return -1;
  return removeEntry(ds, verbose, false, file);
}

// False after the refusal for the root, or for a last component "." or "..".
bool isDeletableFolder(Console& con, const PathName& folder) {
  if (folder.isRoot()) {
    con.error("The root folder \"/\" can not be destroyed.");
    return false;
  }
  if (!isDotName(folder.lastName())) return true;
  con.error("The folder " + quotedName(folder.lastName()) + " can not be deleted.");
  return false;
}

// Deletes the found folder's children, then clears the screen and takes the folder out.
int16_t deleteTree(DiskStream& ds, bool verbose, const Handle& folder) {
  if (!folder.found()) return -1;
  if (folder.node.isFile()) {
    ds.console().error(quotedName(folder.name) + " is a file,not a folder.");
    return -1;
  }
  if (deleteChildren(ds, folder) < 0) return -1;
  ds.console().clearScreen();
  return removeEntry(ds, verbose, true, folder);
}

}  // namespace

bool confirmFileDeletion(Console& con) {
  return con.confirm("Delete file with all its content?",
                     "(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)");
}

bool confirmFolderDeletion(Console& con) {
  return con.confirm("Delete folder with all its content?", "(\"Enter\" - yes, \"Esc\" - no)");
}

int16_t deleteFile(DiskStream& ds, bool verbose, std::string_view path) {
  return eraseAndRemove(ds, verbose, lookup(ds, true, path));
}

int16_t deleteFile(DiskStream& ds, bool verbose, const Handle& file) {
  return eraseAndRemove(ds, verbose, file);
}

int16_t removeEntry(DiskStream& ds, bool verbose, bool isFolder, const Handle& entry) {
  Console& con = ds.console();
  if (!isRemovable(con, entry, isFolder, "The folder \"/\" can not be deleted.\n\n",
                   " can not be deleted."))
    return -1;
  const std::string& name = entry.name;
  std::string kind = kindWord(isFolder);
  Removal r;
  if (!planRemoval(
          ds, entry,
          "The " + kind + " " + quotedName(name) + " was not deleted because it was not found.", r))
    return -1;
  // The entry goes first, then the object it named: nothing free is ever named.
  if (!unlinkEntry(ds, r)) return -1;
  if (r.targetWasLast()) {
    if (!freeObject(ds, isFolder, name, r.last.inode)) {
      con.error("The " + kind + " " + quotedName(r.last.name) + "was not deleted.");
      return -1;
    }
    if (verbose) con.line("Deleting " + kind + ": " + quotedName(name) + ".");
    return 0;
  }
  if (!freeObject(ds, isFolder, name, r.target.inode)) {
    con.error("The " + kind + " \"" + r.target.name + " \"was not deleted.");
    return -1;
  }
  if (verbose) con.print("Deleting " + kind + ": " + quotedName(name) + ".");
  con.line();
  return 0;
}

int16_t detachEntry(DiskStream& ds, bool isFolder, const Handle& entry) {
  if (!isRemovable(ds.console(), entry, isFolder, "The folder \"/\" entry can not be deleted.\n",
                   " entry can not be deleted."))
    return -1;
  Removal r;
  if (!planRemoval(ds, entry,
                   "The entry about " + kindWord(isFolder) + " " + quotedName(entry.name) +
                       " was not deleted because it was not found.",
                   r) ||
      !unlinkEntry(ds, r))
    return -1;
  if (!r.targetWasLast()) ds.console().line();
  return 0;
}

int16_t deleteFolderTree(DiskStream& ds, bool verbose, std::string_view path) {
  Console& con = ds.console();
  PathName folder;
  if (folder.parse(con, path) < 0 || !isDeletableFolder(con, folder)) return -1;
  return deleteTree(ds, verbose, lookup(ds, true, folder));
}

int16_t deleteFolderTree(DiskStream& ds, bool verbose, const Handle& folder) {
  if (!isDeletableFolder(ds.console(), folder.path)) return -1;
  return deleteTree(ds, verbose, folder);
}

}  // namespace fs5
