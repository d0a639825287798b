#include "storage/FormatImage.h"

#include <vector>

#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The header and every region after it, all zero but for the root folder at i-node 0 and
// datablock 0 (both marked used, the datablock holding ".." and "."), in one write (122010
// bytes for the standard image): an interrupted formatting leaves the old image or a sound
// one.
bool writeImageWithRoot(DiskStream& ds) {
  const DiskLayout& l = ds.layout();
  std::vector<uint8_t> image(static_cast<std::size_t>(l.imageSize()), 0);
  l.encode(image.data());
  image[*l.inodeMapByte(0)] = 1;
  image[*l.blockMapByte(0)] = 1;
  Inode root;
  root.makeFolder(0);
  root.appendBlock(0);
  root.encode(image.data() + *l.inodeOffset(0));
  FolderBlock first;
  first.addEntry(ds.console(), 0, "..");
  first.addEntry(ds.console(), 0, ".");
  first.encode(image.data() + *l.blockOffset(0));
  return ds.write(0, image.data(), image.size());
}

}  // namespace

int16_t formatImage(DiskStream& ds, int inodes, int blocks, int users) {
  DiskLayout layout = DiskLayout::forCounts(inodes, blocks, users);
  if (!layout.isValid()) return -1;
  ds.layout() = layout;
  if (!writeImageWithRoot(ds)) return -1;
  ds.console().line("The folder \"/\" was created successfully.");
  return 0;
}

}  // namespace fs5
