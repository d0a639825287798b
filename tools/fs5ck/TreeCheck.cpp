#include <algorithm>
#include <cstring>
#include <set>

#include "storage/Coding.h"
#include "storage/DataBlock.h"
#include "tools/fs5ck/ImageScan.h"
#include "tools/fs5ck/Texts.h"

namespace fs5 {

namespace {

// The ".." and "." entries in their places: slots 0 and 1 of a folder's first datablock.
bool isDotEntry(const TreeEntry& e, bool firstBlock) {
  return firstBlock && ((e.slot == 0 && e.name == "..") || (e.slot == 1 && e.name == "."));
}

}  // namespace

bool ImageScan::checkRoot() {
  if (!inodeUsed_[0]) {
    problem(Problem::kRootFree, {});
    return false;
  }
  if (!isWalkable(0)) {
    problem(Problem::kRootNotFolder, {});
    return false;
  }
  reachedAs_[0] = "/";
  return true;
}

// Walks the folder n, reached at `path` from the folder `parent`; the root is its own parent.
void ImageScan::walkFolder(int n, int parent, const std::string& path, int depth) {
  walked_[n] = true;
  folderEntries_[n] = checkNames(readFolder(n, parent, path), path);
  ancestors_.push_back(n);
  for (const TreeEntry& entry : folderEntries_[n]) followEntry(entry, path, depth + 1);
  ancestors_.pop_back();
}

// Reads the folder's datablocks, checking their counts, slots and the dot entries; returns
// its other valid entries in block and slot order. Blocks outside the area are skipped (the
// i-node table pass has reported them). FolderBlock bounds the count it decodes, so the
// count as stored is taken from the block's first field.
std::vector<TreeEntry> ImageScan::readFolder(int n, int parent, const std::string& path) {
  const Inode& node = inodes_[n];
  std::vector<TreeEntry> entries;
  for (int b = 0; b < node.getBlockCount(); ++b) {
    int k = node.getBlock(b);
    DataBlock raw;
    if (raw.read(ds_, k) < 0) continue;
    FolderBlock block;
    block.decode(raw.bytes().data());
    checkCount(k, decodeSigned16(raw.bytes().data()), b == node.getBlockCount() - 1, path);
    checkSlotsPastCount(block, k, path);
    if (b == 0) checkDots(block, n, parent, path);
    for (int slot = 0; slot < block.getCount(); ++slot) {
      TreeEntry e{block.getEntryName(slot), block.getEntryInode(slot), k, slot};
      if (!isDotEntry(e, b == 0)) entries.push_back(e);
    }
  }
  return entries;
}

void ImageScan::checkCount(int k, int stored, bool isLast, const std::string& path) {
  if (stored < 0 || stored > ENTRIES_PER_BLOCK)
    problem(Problem::kEntryCount, {path, decimal(k), decimal(stored)});
  else if (!isLast && stored < ENTRIES_PER_BLOCK)
    problem(Problem::kBlockNotFull, {path, decimal(k), decimal(stored)});
  else if (isLast && stored == 0)
    problem(Problem::kLastBlockEmpty, {path, decimal(k)});
}

void ImageScan::checkSlotsPastCount(const FolderBlock& block, int k, const std::string& path) {
  uint8_t stored[FOLDER_BLOCK_SIZE];
  block.encode(stored);
  for (int slot = block.getCount(); slot < ENTRIES_PER_BLOCK; ++slot) {
    FolderBlock cleared = block;
    cleared.clearEntry(slot);
    uint8_t bytes[FOLDER_BLOCK_SIZE];
    cleared.encode(bytes);
    if (std::memcmp(stored, bytes, sizeof bytes) != 0)
      problem(Problem::kSlotPastCount, {path, decimal(k), decimal(slot)});
  }
}

void ImageScan::checkDots(const FolderBlock& block, int n, int parent, const std::string& path) {
  int count = block.getCount();
  if (count < 1 || block.getEntryName(0) != "..")
    problem(Problem::kNoDotDot, {path});
  else if (block.getEntryInode(0) != parent)
    problem(Problem::kDotDotWrong, {path, decimal(block.getEntryInode(0)), decimal(parent)});
  if (count < 2 || block.getEntryName(1) != ".")
    problem(Problem::kNoDot, {path});
  else if (block.getEntryInode(1) != n)
    problem(Problem::kDotWrong, {path, decimal(block.getEntryInode(1)), decimal(n)});
}

// Reports bad and repeated names; returns the entries the tree follows (all but the dot
// names out of their places).
std::vector<TreeEntry> ImageScan::checkNames(const std::vector<TreeEntry>& entries,
                                             const std::string& path) {
  std::vector<TreeEntry> followed;
  std::set<std::string> seen;
  for (const TreeEntry& e : entries) {
    std::string block = decimal(e.block), slot = decimal(e.slot);
    if (e.name == "." || e.name == "..") {
      problem(Problem::kDotOutOfPlace, {path, block, slot, e.name});
      continue;
    }
    if (e.name.empty()) problem(Problem::kEmptyName, {path, block, slot});
    if (e.name.find('/') != std::string::npos) problem(Problem::kSlashInName, {path, e.name});
    if (!seen.insert(e.name).second) problem(Problem::kNameTwice, {path, e.name});
    followed.push_back(e);
  }
  return followed;
}

// Follows one entry of the folder at `folderPath`; the entry lies `depth` levels below the
// root. A folder reached for the first time is walked, even below the deepest level, which
// is reported once at the first level past it.
void ImageScan::followEntry(const TreeEntry& entry, const std::string& folderPath, int depth) {
  std::string path = childPath(folderPath, entry.name);
  int m = entry.inode;
  if (!isInodeNumber(m)) {
    problem(Problem::kEntryOutside, {path, decimal(m)});
    return;
  }
  if (!inodeUsed_[m]) {
    problem(Problem::kEntryFree, {path, decimal(m)});
    return;
  }
  if (std::find(ancestors_.begin(), ancestors_.end(), m) != ancestors_.end()) {
    problem(Problem::kOnOwnPath, {path, decimal(m), reachedAs_[m]});
    return;
  }
  if (!reachedAs_[m].empty()) {
    problem(Problem::kReachedTwice, {path, decimal(m), reachedAs_[m]});
    return;
  }
  reachedAs_[m] = path;
  if (depth == MAX_DEPTH + 1) problem(Problem::kTooDeep, {path});
  if (isWalkable(m)) walkFolder(m, ancestors_.back(), path, depth);
}

void ImageScan::checkOrphans() {
  for (int n = 1; n < layout_.inodeCount(); ++n)
    if (isJudged(n) && reachedAs_[n].empty()) problem(Problem::kOrphan, {decimal(n)});
}

}  // namespace fs5
