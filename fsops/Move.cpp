#include "fsops/Move.h"

#include <string>

#include "fsops/Delete.h"
#include "fsops/Lookup.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// Where a file goes: the folder that receives its entry, the name of that entry, whether the
// name came from the destination, and the file that the move replaces (-1 when none).
struct MovePlan {
  int16_t folder = -1;
  std::string name;
  bool renamed = false;
  int16_t replaced = -1;
};

// A refusal that waits for one key without a prompt.
int16_t refuseWithKey(Console& con, std::string_view line) {
  con.error(line);
  con.readKey();
  return -1;
}

int16_t moveFailed(Console& con) {
  con.error("The moving of the file failed.");
  con.waitForEnter();
  return -1;
}

// Reads i-node n into `node`; false when n names nothing.
bool readNode(DiskStream& ds, int16_t n, Inode& node) { return n >= 0 && node.read(ds, n) >= 0; }

// The name under which folder `folder` holds `child`, or "" (the ".." and "." entries aside).
std::string nameInFolder(DiskStream& ds, int16_t folder, int16_t child) {
  Inode node;
  if (!readNode(ds, folder, node) || !node.isFolder()) return {};
  for (int b = 0; b < node.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, node.getBlock(b)) < 0) return {};
    for (int slot = 0; slot < block.getCount(); ++slot) {
      std::string name = block.getEntryName(slot);
      if (block.getEntryInode(slot) == child && name != ".." && name != ".") return name;
    }
  }
  return {};
}

// The path of folder n as the tree holds it, whatever path named it: the names met walking up
// through the ".." entries to the root. False when the walk does not reach the root within 8
// levels or the text would pass 239 characters (only in a damaged tree).
bool treePath(DiskStream& ds, int16_t n, PathName& path) {
  std::string text;
  for (int level = 0; n != 0; ++level) {
    int16_t parent = findInFolder(ds, false, n, "..");
    std::string name = nameInFolder(ds, parent, n);
    if (level == MAX_DEPTH || name.empty()) return false;
    text.insert(0, "/" + name);
    n = parent;
  }
  if (text.size() > MAX_PATH_TEXT) return false;
  return path.parse(ds.console(), text.empty() ? "/" : text) == 0;
}

// The folder that would hold the destination, which names nothing yet: the file gets the
// destination's last component as its new name there. -1 (after the lookup's line) when
// that folder is missing too.
int16_t renameTarget(Console& con, const Handle& to, MovePlan& plan, PathName& folderPath) {
  plan.name = to.name;
  plan.renamed = true;
  folderPath.goUp(con);
  if (to.parent < 0) reportMissing(con, to);
  return to.parent;
}

// Finds the folder that receives the file and the name it gets there. An existing file as
// destination is noted as replaced and its folder receives the file. -1 after the reason.
int16_t planMove(DiskStream& ds, const Handle& file, const Handle& to, MovePlan& plan) {
  Console& con = ds.console();
  plan.name = file.name;
  PathName folderPath = to.path;
  int16_t n = to.number;
  if (to.result == LookupResult::MISSING) {
    if (to.name.empty()) return refuseWithKey(con, "The destination of moving is not anything.");
    n = renameTarget(con, to, plan, folderPath);
  }
  Inode target;
  bool found = to.result != LookupResult::UNUSABLE && readNode(ds, n, target);
  if (found && target.isFile() && !plan.renamed) {
    if (n == file.number) return refuseWithKey(con, "You can not move a file onto itself.");
    plan.replaced = n;
    n = to.parent;
    folderPath.goUp(con);
    found = readNode(ds, n, target);
  }
  if (!found || !target.isFolder()) return moveFailed(con);
  plan.folder = n;
  // The file must stay nameable by a path: the folder's path in the tree and the new name
  // within 8 components and 239 characters, as for a copy.
  PathName entry;
  if (!treePath(ds, n, entry)) entry = folderPath;
  if (entry.append(con, plan.name) < 0) return -1;
  int16_t existing = findInFolder(ds, false, n, plan.name);
  if (existing >= 0 && existing != file.number && existing != plan.replaced) {
    con.error("The folder or file \"" + plan.name + "\" already exists.");
    return -1;
  }
  return 0;
}

// Adds the entry {file, name} to the plan's folder, then takes the source's entry out. A
// folder and a name the file has already are left as they are.
int16_t placeEntry(DiskStream& ds, const Handle& file, const MovePlan& plan) {
  if (plan.folder == file.parent && plan.name == file.name) return 0;
  Inode folder;
  folder.read(ds, plan.folder);
  FolderBlock last;
  last.setBlockIndex(folder.getBlock(folder.getBlockCount() - 1));
  if (addChildEntry(ds, folder, last, false, file.number, plan.name) < 0) return -1;
  folder.write(ds);
  return detachEntry(ds, false, file);
}

}  // namespace

int16_t moveFile(DiskStream& ds, const Handle& source, const Handle& destination) {
  Console& con = ds.console();
  if (source.isRoot())
    return refuseWithKey(con, "The source of moving is the root folder \"/\", not a file.");
  if (source.result == LookupResult::UNUSABLE) return -1;
  if (!source.isFile()) return refuseWithKey(con, "The source of moving is not a file.");
  MovePlan plan;
  if (planMove(ds, source, destination, plan) < 0) return -1;
  if (plan.replaced >= 0 && deleteFile(ds, false, destination) < 0) return -1;
  if (placeEntry(ds, source, plan) < 0) return -1;
  std::string name = "\"" + source.name + "\"";
  con.error("The file " + name +
            (plan.renamed ? " was successfully renamed and moved." : " was successfully moved."));
  return 0;
}

}  // namespace fs5
