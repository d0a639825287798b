#include "storage/FormatImage.h"

#include <vector>

#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The header and every region after it, all zero, in one write (122010 bytes for the
// standard image).
bool writeZeroedImage(DiskStream& ds) {
  const DiskLayout& l = ds.layout();
  std::vector<uint8_t> image(static_cast<std::size_t>(l.imageSize()), 0);
  l.encode(image.data());
  return ds.write(0, image.data(), image.size());
}

int16_t makeRootFolder(DiskStream& ds) {
  Inode root;
  FolderBlock first;
  if (root.allocate(ds) != 0 || first.allocate(ds) != 0) {
    ds.console().error("Can not create the root folder. First blocks are not free.");
    return -1;
  }
  root.makeFolder(0);
  root.appendBlock(0);
  if (addChildEntry(ds, root, first, true, 0, "..") < 0) return -1;
  if (addChildEntry(ds, root, first, true, 0, ".") < 0) return -1;
  if (!root.write(ds)) return -1;
  ds.console().line("The folder \"/\" was created successfully.");
  return 0;
}

}  // namespace

int16_t formatImage(DiskStream& ds, int inodes, int blocks, int users) {
  ds.layout() = DiskLayout::forCounts(inodes, blocks, users);
  if (!writeZeroedImage(ds)) return -1;
  return makeRootFolder(ds);
}

}  // namespace fs5
