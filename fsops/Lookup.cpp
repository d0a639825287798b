#include "fsops/Lookup.h"

#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

int16_t searchFolder(DiskStream& ds, int folder, std::string_view name) {
  if (name.empty()) return -1;
  Inode node;
  if (node.read(ds, folder) < 0 || !node.isFolder()) return -1;
  for (int b = 0; b < node.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, node.getBlock(b)) < 0) return -1;
    for (int slot = 0; slot < block.getCount(); ++slot)
      if (block.getEntryName(slot) == name) return block.getEntryInode(slot);
  }
  return -1;
}

}  // namespace

int16_t findInFolder(DiskStream& ds, bool verbose, int folder, std::string_view name) {
  int16_t found = searchFolder(ds, folder, name);
  if (found < 0 && verbose)
    ds.console().error("Folder or file \"" + std::string(name) + "\" not found.");
  return found;
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
