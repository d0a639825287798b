#include "fsops/Lookup.h"

#include <algorithm>

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
  std::optional<int16_t> found;
  unreadable = !visitFolderEntries(ds, node, [&](const std::string& entry, int16_t inode) {
    if (entry == name) found = inode;
    return !found;
  });
  return found.value_or(-1);
}

// Walks components 0 to `last` of a path other than the root from the root folder, setting
// the handle's parent (when component `last` is reached), number and missing component.
void walkPath(DiskStream& ds, bool verbose, const PathName& path, int last, Handle& h) {
  int16_t folder = 0;
  for (int i = 0; i <= last; ++i) {
    if (i == last) h.parent = folder;
    bool unreadable = false;
    folder = findInFolder(ds, verbose, folder, path.component(i), &unreadable);
    if (folder < 0) {
      if (!unreadable) h.missing = path.component(i);
      return;
    }
  }
  h.number = folder;
}

}  // namespace

bool visitFolderEntries(DiskStream& ds, const Inode& folder,
                        const std::function<bool(const std::string& name, int16_t inode)>& visit) {
  for (int b = 0; b < folder.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, folder.getBlock(b)) < 0) return false;
    for (int slot = 0; slot < block.getCount(); ++slot)
      if (!visit(block.getEntryName(slot), block.getEntryInode(slot))) return true;
  }
  return true;
}

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
  if (path.isRoot()) return 0;
  Handle h;
  walkPath(ds, verbose, path, std::max(lastIndex, 0), h);
  return h.number;
}

Handle lookup(DiskStream& ds, bool verbose, const PathName& path) {
  Handle h;
  h.path = path;
  h.name = path.lastName();
  if (path.isRoot()) {
    h.number = 0;
  } else {
    walkPath(ds, verbose, path, std::max(path.getDepth() - 1, 0), h);
  }
  if (h.number < 0) return h;
  h.result =
      readObject(ds, h.number, h.name, h.node) ? LookupResult::FOUND : LookupResult::UNUSABLE;
  return h;
}

Handle lookup(DiskStream& ds, bool verbose, std::string_view path) {
  PathName parsed;
  if (parsed.parse(ds.console(), path) == 0) return lookup(ds, verbose, parsed);
  Handle h;
  h.result = LookupResult::BAD_PATH;
  return h;
}

Handle lookupEntry(DiskStream& ds, const Handle& folder, const std::string& name, int16_t number) {
  Handle h;
  h.path = folder.path;
  if (h.path.append(ds.console(), name) < 0) {
    h.result = LookupResult::BAD_PATH;
    return h;
  }
  h.name = name;
  h.parent = folder.number;
  h.number = number;
  h.result = readObject(ds, number, name, h.node) ? LookupResult::FOUND : LookupResult::UNUSABLE;
  if (h.found() && name.empty()) {
    // No path names an entry with the empty name (lookups skip it): it is not found.
    ds.console().error("Folder or file \"\" not found.");
    h.result = LookupResult::MISSING;
    h.number = -1;
  }
  return h;
}

void reportMissing(Console& con, const Handle& handle) {
  if (handle.result == LookupResult::MISSING && handle.missing)
    con.error("Folder or file \"" + *handle.missing + "\" not found.");
}

bool isUsableFile(Console& con, const Handle& handle, std::string_view rootLine) {
  if (handle.isRoot()) {
    con.error(rootLine);
    return false;
  }
  if (!handle.found()) return false;
  if (handle.node.isFile()) return true;
  con.error("\"" + handle.name + "\" is a folder,not a file.");
  return false;
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
