#include "tools/fs5ck/Checker.h"

#include <algorithm>
#include <sstream>

#include "storage/Coding.h"
#include "storage/DataBlock.h"
#include "storage/Inode.h"
#include "tools/fs5ck/ImageScan.h"
#include "tools/fs5ck/ReadOnlyDiskStream.h"
#include "tools/fs5ck/Texts.h"

namespace fs5 {

namespace {

void markUnreadable(CheckReport& report, const std::string& why) {
  report = CheckReport{};
  report.readable = false;
  report.failure = why;
}

}  // namespace

int CheckReport::exitStatus() const {
  if (!readable) return CHECK_UNREADABLE;
  return problems.empty() ? CHECK_SOUND : CHECK_PROBLEMS;
}

std::string CheckReport::counts() const {
  return "folders " + decimal(folders) + ", files " + decimal(files) + ", used i-nodes " +
         decimal(usedInodes) + ", used datablocks " + decimal(usedBlocks) + ", accounts " +
         decimal(accounts);
}

std::string CheckReport::summary() const {
  return counts() + ", problems " + decimal(problems.size());
}

ImageScan::ImageScan(DiskStream& ds, CheckReport& report)
    : ds_(ds), report_(report), layout_(ds.layout()) {
  int inodes = layout_.inodeCount();
  inodes_.resize(inodes);
  recordSet_.assign(inodes, false);
  blockLister_.assign(layout_.blockCount(), -1);
  reachedAs_.assign(inodes, "");
  folderEntries_.resize(inodes);
  walked_.assign(inodes, false);
}

void ImageScan::run() {
  scanMap("i-node", layout_.inodeCount(), &DiskLayout::inodeMapByte, inodeUsed_);
  scanMap("datablock", layout_.blockCount(), &DiskLayout::blockMapByte, blockUsed_);
  scanMap("user number", layout_.userCount(), &DiskLayout::userMapByte, userUsed_);
  report_.usedInodes = static_cast<int>(std::count(inodeUsed_.begin(), inodeUsed_.end(), true));
  report_.usedBlocks = static_cast<int>(std::count(blockUsed_.begin(), blockUsed_.end(), true));
  scanInodes();
  scanBlocks();
  if (!checkRoot()) return;
  walkFolder(0, 0, "/", 0);
  checkOrphans();
  checkAccounts();
}

void ImageScan::scanMap(const std::string& what, int count, MapByte byteAt,
                        std::vector<bool>& used) {
  used.assign(count, false);
  for (int n = 0; n < count; ++n) {
    uint8_t value = 0;
    ds_.read(*(layout_.*byteAt)(n), &value, 1);
    if (value > 1) problem(Problem::kMapByte, {what, decimal(n), decimal(value)});
    used[n] = value != 0;
  }
}

void ImageScan::scanInodes() {
  for (int n = 0; n < layout_.inodeCount(); ++n) {
    uint8_t record[INODE_SIZE];
    inodes_[n].read(ds_, n);
    inodes_[n].encode(record);
    bool zero = allZero(record, sizeof record);
    if (!inodeUsed_[n]) {
      if (!zero) problem(Problem::kFreeRecordSet, {decimal(n)});
    } else if (zero) {
      problem(Problem::kUsedRecordZero, {decimal(n)});
    } else {
      recordSet_[n] = true;
      checkUsedInode(n, record);
    }
  }
}

void ImageScan::checkUsedInode(int n, const uint8_t* record) {
  const Inode& node = inodes_[n];
  if (node.isFolder()) {
    ++report_.folders;
  } else if (node.isFile()) {
    ++report_.files;
  } else {
    problem(Problem::kUnknownType, {decimal(n), decimal(node.getType())});
  }
  int stored = decodeSigned16(record + RECORD_BLOCK_COUNT);
  if (stored < 1 || stored > MAX_BLOCKS)
    problem(Problem::kBlockCount, {decimal(n), decimal(stored)});
  std::vector<bool> seen(layout_.blockCount(), false);
  for (int i = 0; i < node.getBlockCount(); ++i) listBlock(n, node.getBlock(i), seen);
  for (int i = node.getBlockCount(); i < MAX_BLOCKS; ++i) {
    int k = decodeSigned16(record + RECORD_BLOCKS + 2 * i);
    if (k != 0) problem(Problem::kUnlistedSlot, {decimal(n), decimal(i), decimal(k)});
  }
}

void ImageScan::listBlock(int n, int k, std::vector<bool>& seen) {
  if (k < 0 || k >= layout_.blockCount()) {
    problem(Problem::kBlockOutside, {decimal(n), decimal(k)});
    return;
  }
  if (seen[k]) {
    problem(Problem::kBlockTwice, {decimal(n), decimal(k)});
    return;
  }
  seen[k] = true;
  if (!blockUsed_[k]) problem(Problem::kBlockFree, {decimal(n), decimal(k)});
  if (blockLister_[k] >= 0)
    problem(Problem::kBlockShared, {decimal(n), decimal(k), decimal(blockLister_[k])});
  else
    blockLister_[k] = n;
}

void ImageScan::scanBlocks() {
  for (int k = 0; k < layout_.blockCount(); ++k) {
    if (blockLister_[k] >= 0) continue;
    if (blockUsed_[k]) {
      problem(Problem::kBlockLeaked, {decimal(k)});
      continue;
    }
    DataBlock block;
    block.read(ds_, k);
    if (!allZero(block.bytes().data(), block.bytes().size()))
      problem(Problem::kFreeBlockSet, {decimal(k)});
  }
}

CheckReport checkImage(DiskStream& ds) {
  CheckReport report;
  int64_t size = ds.size();
  bool loaded = size >= 0 && ds.loadLayout();
  const DiskLayout& layout = ds.layout();
  if (ds.failed()) {
    markUnreadable(report, "the image can not be read.");
  } else if (!loaded) {
    markUnreadable(report, "the image is shorter than its header.");
  } else if (!layout.isValid()) {
    markUnreadable(report, "the header is not a valid layout.");
  } else if (size < layout.imageSize()) {
    markUnreadable(report, "the image is shorter than its layout (" + decimal(size) + " of " +
                               decimal(layout.imageSize()) + " bytes).");
  } else {
    ImageScan(ds, report).run();
    if (ds.failed()) markUnreadable(report, "the image can not be read.");
  }
  return report;
}

CheckReport checkImageFile(const std::string& path) {
  std::istringstream in;
  std::ostringstream discarded;
  Console con(in, discarded, discarded);
  ReadOnlyDiskStream ds(con, path);
  if (ds.isOpen()) return checkImage(ds);
  CheckReport report;
  markUnreadable(report,
                 ds.isMissing() ? "the image does not exist." : "the image can not be opened.");
  return report;
}

}  // namespace fs5
