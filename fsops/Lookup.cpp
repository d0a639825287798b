#include "fsops/Lookup.h"

#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The entry's i-node, or -1; `unreadable` is set when the folder's own records could not be
// read (their reads have said why), so that nothing can be said about the name.
int16_t searchFolder(DiskStream& ds, int folder, std::string_view name, bool& unreadable) {
  if (name.empty()) return -1;
  Inode node;
  unreadable = node.read(ds, folder) < 0;
  if (unreadable || !node.isFolder()) return -1;
  for (int b = 0; b < node.getBlockCount(); ++b) {
    FolderBlock block;
    unreadable = block.read(ds, node.getBlock(b)) < 0;
    if (unreadable) return -1;
    for (int slot = 0; slot < block.getCount(); ++slot)
      if (block.getEntryName(slot) == name) return block.getEntryInode(slot);
  }
  return -1;
}

}  // namespace

int16_t findInFolder(DiskStream& ds, bool verbose, int folder, std::string_view name,
                     bool* unreadableOut) {
  bool unreadable = false;
  int16_t found = searchFolder(ds, folder, name, unreadable);
  if (unreadableOut != nullptr) *unreadableOut = unreadable;
  if (found < 0 && verbose && !unreadable)
    ds.console().error("Folder or file \"" + std::string(name) + "\" not found.");
  return found;
}

bool readObject(DiskStream& ds, int16_t n, std::string_view name, Inode& node) {
  if (node.read(ds, n) < 0) return false;
  std::string quoted = "\"" + std::string(name) + "\"";
  if (!node.isFolder() && !node.isFile()) {
    ds.console().error(quoted + " is neither a folder nor a file.");
    return false;
  }
  if (node.getBlockCount() > 0) return true;
  ds.console().error(quoted + " lists no datablock.");
  return false;
}

int16_t resolvePath(DiskStream& ds, bool verbose, const PathName& path, int lastIndex) {
  if (path.getDepth() == 0 && path.isRoot()) return 0;
  int16_t n = findInFolder(ds, verbose, 0, path.component(0));
  for (int i = 1; i <= lastIndex && n >= 0; ++i)
    n = findInFolder(ds, verbose, n, path.component(i));
  return n;
}

int16_t resolveWhole(DiskStream& ds, bool verbose, const PathName& path) {
  return resolvePath(ds, verbose, path, path.getDepth() - 1);
}

int16_t resolveHolder(DiskStream& ds, bool verbose, const PathName& path) {
  if (path.getDepth() == 0) return -1;
  if (path.getDepth() == 1) return 0;
  return resolvePath(ds, verbose, path, path.getDepth() - 2);
}

}  // namespace fs5
