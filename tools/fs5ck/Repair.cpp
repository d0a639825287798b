#include "tools/fs5ck/Repair.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "storage/AccountRecord.h"
#include "storage/AllocMaps.h"
#include "storage/Coding.h"
#include "storage/DataBlock.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tools/fs5ck/Checker.h"
#include "tools/fs5ck/ImageRepair.h"
#include "tools/fs5ck/Texts.h"

namespace fs5 {

namespace {

std::vector<uint8_t> readMap(DiskStream& ds, int64_t start, int count) {
  std::vector<uint8_t> bytes(count);
  ds.read(start, bytes.data(), bytes.size());
  return bytes;
}

void setMapByte(DiskStream& ds, std::optional<int64_t> offset) {
  uint8_t used = 1;
  if (offset) ds.write(*offset, &used, 1);
}

// "i-node 5: marked used." for a free byte, "...: map byte set to 1." for one above 1.
std::string usedLine(const std::string& what, int n, uint8_t byte) {
  return repairLine(byte == 0 ? Repair::kMarkedUsed : Repair::kMapByteSet, {what, decimal(n)});
}

}  // namespace

ImageRepair::ImageRepair(DiskStream& ds, RepairMode mode, const std::vector<Finding>& found)
    : ds_(ds), layout_(ds.layout()), all_(mode == RepairMode::kAll) {
  for (const Finding& f : found) lossless_.insert(losslessSubject(f));
  int inodes = layout_.inodeCount(), blocks = layout_.blockCount();
  nodes_.resize(inodes);
  for (auto* flags : {&hasRecord_, &keep_, &reached_, &walked_, &made_, &changed_, &recordChanged_,
                      &namedInode_, &inodeSaid_})
    flags->assign(inodes, false);
  namedBlock_.assign(blocks, false);
  blockSaid_.assign(blocks, false);
  userSaid_.assign(layout_.userCount(), false);
  held_.assign(layout_.userCount(), false);
  lister_.assign(blocks, -1);
  stray_.assign(blocks, false);
  pathOf_.resize(inodes);
  entries_.resize(inodes);
  heldBack_.resize(inodes);
}

void ImageRepair::reach(int n) {
  reached_[n] = keep_[n] = true;
  for (const std::string& line : heldBack_[n]) say(line);
  heldBack_[n].clear();
}

void ImageRepair::note(int n, const std::string& line) {
  if (keep_[n])
    say(line);
  else
    heldBack_[n].push_back(line);
}

std::vector<std::string> ImageRepair::run() {
  load();
  if (all_) {
    if (!hasRecord_[0]) rebuildRoot();
    for (int n = 0; n < layout_.inodeCount(); ++n)
      if (hasRecord_[n] && !made_[n]) fixRecord(n);
    copySharedBlocks();
    findStrayBlocks();
  }
  if (isFolder(0)) {
    reach(0);
    walk(0, 0, "/", 0, false);
  }
  if (all_) {
    int etc = ensureFolder(0, "etc");
    int passwd = etc < 0 ? -1 : ensureFolder(etc, "passwd");
    reconnectOrphans();
    keepStrayBlocks();
    giveEmptyBlocks();
    if (passwd >= 0) fixAccounts(passwd);
    for (int n = 0; n < layout_.inodeCount(); ++n)
      if (walked_[n] && reached_[n] && isFolder(n)) layOutFolder(n);
  }
  countHolders();
  apply();
  return lines_;
}

void ImageRepair::load() {
  inodeMap_ = readMap(ds_, layout_.inodeMapStart, layout_.inodeCount());
  blockMap_ = readMap(ds_, layout_.blockMapStart, layout_.blockCount());
  userMap_ = readMap(ds_, layout_.userMapStart, layout_.userCount());
  for (int n = 0; n < layout_.inodeCount(); ++n) {
    uint8_t record[INODE_SIZE];
    nodes_[n].read(ds_, n);
    nodes_[n].encode(record);
    hasRecord_[n] = !allZero(record, sizeof record);
    keep_[n] = hasRecord_[n] && inodeMap_[n] != 0;
    for (int i = 0; hasRecord_[n] && i < MAX_BLOCKS; ++i) {
      int k = decodeSigned16(record + RECORD_BLOCKS + 2 * i);
      if (inArea(k)) namedBlock_[k] = true;
    }
  }
}

void ImageRepair::rebuildRoot() {
  makeRecord(0, true);
  say(repairLine(Repair::kRootMade, {}));
}

// Sets the record's type, block count and list as the repair's first step describes.
void ImageRepair::fixRecord(int n) {
  uint8_t record[INODE_SIZE];
  nodes_[n].encode(record);
  std::vector<int16_t> slots(MAX_BLOCKS);
  int last = n == 0 ? 1 : 0;
  for (int i = 0; i < MAX_BLOCKS; ++i) {
    slots[i] = decodeSigned16(record + RECORD_BLOCKS + 2 * i);
    if (slots[i] != 0) last = i + 1;
  }
  int stored = decodeSigned16(record + RECORD_BLOCK_COUNT);
  int count = stored >= 1 && stored <= MAX_BLOCKS ? stored : last;
  std::vector<int16_t> list, outside;
  for (int i = 0; i < count; ++i) (inArea(slots[i]) ? list : outside).push_back(slots[i]);
  int16_t type = nodes_[n].getType();
  bool badType = type != TYPE_FOLDER && (n == 0 || type != TYPE_FILE);
  std::string name = decimal(n);
  if (badType) {
    type = n == 0 || looksLikeFolder(n, list) ? TYPE_FOLDER : TYPE_FILE;
    note(n, repairLine(Repair::kTypeSet, {name, type == TYPE_FOLDER ? "1 (folder)" : "2 (file)"}));
  }
  if (count != stored) note(n, repairLine(Repair::kBlockCountSet, {name, decimal(count)}));
  for (int16_t k : outside) note(n, repairLine(Repair::kBlockTakenOut, {name, decimal(k)}));
  if (last > count) note(n, repairLine(Repair::kSlotsZeroed, {name}));
  if (!badType && count == stored && outside.empty() && last <= count) return;
  encodeSigned16(record + RECORD_TYPE, type);
  nodes_[n].decode(record);
  setList(n, list);
}

bool ImageRepair::looksLikeFolder(int n, const std::vector<int16_t>& list) {
  if (list.empty()) return false;
  FolderBlock first;
  first.decode(blockBytes(list[0]).data());
  return first.getCount() >= 2 && first.getEntryName(1) == "." && first.getEntryInode(1) == n;
}

// Gives every datablock to the first i-node that lists it, those marked used first, in number
// order; every later listing gets a copy (or, with no datablock free, is taken out).
void ImageRepair::copySharedBlocks() {
  std::vector<std::pair<int, int>> repeats;
  for (int pass = 0; pass < 2; ++pass) {
    for (int n = 0; n < layout_.inodeCount(); ++n) {
      if (!hasRecord_[n] || keep_[n] != (pass == 0)) continue;
      std::vector<int16_t> list = listOf(n);
      for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        if (lister_[list[i]] < 0)
          lister_[list[i]] = n;
        else
          repeats.emplace_back(n, i);
      }
    }
  }
  int current = -1, removed = 0;
  for (auto [n, i] : repeats) {
    if (n != current) current = n, removed = 0;
    std::vector<int16_t> list = listOf(n);
    int at = i - removed, k = list[at];
    int copy = takeBlock(n, blockBytes(k));
    if (copy < 0) {
      list.erase(list.begin() + at);
      ++removed;
      note(n, repairLine(Repair::kBlockNotCopied, {decimal(n), decimal(k)}));
    } else {
      list[at] = static_cast<int16_t>(copy);
      note(n, repairLine(Repair::kBlockCopied, {decimal(n), decimal(k), decimal(copy)}));
    }
    setList(n, list);
  }
}

void ImageRepair::findStrayBlocks() {
  for (int k = 0; k < layout_.blockCount(); ++k) {
    if (lister_[k] >= 0 || blockMap_[k] == 0) continue;
    BlockBytes bytes = blockBytes(k);
    stray_[k] = !allZero(bytes.data(), bytes.size());
  }
}

void ImageRepair::giveEmptyBlocks() {
  for (int n = 0; n < layout_.inodeCount(); ++n) {
    if (!keep_[n] || !nodes_[n].isFile() || nodes_[n].getBlockCount() > 0) continue;
    int k = takeBlock(n, BlockBytes{});
    if (k < 0) continue;
    setList(n, {static_cast<int16_t>(k)});
    say(repairLine(Repair::kGivenEmptyBlock, {decimal(n)}));
  }
}

// The lowest datablock no record lists, now going to i-node n with the content given; -1
// when there is none.
int ImageRepair::takeBlock(int n, const BlockBytes& content) {
  for (int k = 0; k < layout_.blockCount(); ++k) {
    if (lister_[k] >= 0 || stray_[k]) continue;
    lister_[k] = n;
    pending_[k] = content;
    blockSaid_[k] = true;
    return k;
  }
  return -1;
}

// The lowest i-node whose record is all zero, or -1.
int ImageRepair::takeInode() {
  for (int n = 1; n < layout_.inodeCount(); ++n)
    if (!hasRecord_[n]) return n;
  return -1;
}

// Makes record n a folder or a file of the superuser with the default rights and no datablock.
void ImageRepair::makeRecord(int n, bool folder) {
  uint8_t zero[INODE_SIZE] = {};
  nodes_[n].decode(zero);
  if (folder)
    nodes_[n].makeFolder(SUPERUSER);
  else
    nodes_[n].makeFile(SUPERUSER);
  hasRecord_[n] = keep_[n] = recordChanged_[n] = made_[n] = inodeSaid_[n] = true;
}

BlockBytes ImageRepair::blockBytes(int k) {
  auto it = pending_.find(k);
  if (it != pending_.end()) return it->second;
  DataBlock block;
  block.read(ds_, k);
  return block.bytes();
}

std::vector<int16_t> ImageRepair::listOf(int n) const {
  std::vector<int16_t> list;
  for (int i = 0; i < nodes_[n].getBlockCount(); ++i) list.push_back(nodes_[n].getBlock(i));
  return list;
}

// Replaces the record's block list; every slot past it becomes 0.
void ImageRepair::setList(int n, const std::vector<int16_t>& list) {
  uint8_t record[INODE_SIZE];
  nodes_[n].encode(record);
  std::fill(record + RECORD_BLOCKS, record + INODE_SIZE, 0);
  nodes_[n].decode(record);
  for (int16_t k : list) nodes_[n].appendBlock(k);
  recordChanged_[n] = true;
}

bool ImageRepair::mayChange(const std::string& what, int n) const {
  return all_ || lossless_.count(what + " " + decimal(n)) > 0;
}

void ImageRepair::allow(const std::string& what, int n) {
  if (!all_) lossless_.insert(what + " " + decimal(n));
}

bool ImageRepair::userWanted(int u) const {
  return u == SUPERUSER || held_[u] || (!accountsKnown_ && userMap_[u] != 0);
}

void ImageRepair::apply() {
  blockInUse_.assign(layout_.blockCount(), false);
  for (int n = 0; n < layout_.inodeCount(); ++n) {
    if (!keep_[n]) continue;
    for (int k : listOf(n)) {
      if (!inArea(k)) continue;
      blockInUse_[k] = true;
      if (mayChange("i-node", n)) allow("datablock", k);
    }
  }
  markUsed();
  for (const auto& [k, bytes] : pending_) {
    if (!blockInUse_[k]) continue;
    DataBlock block;
    block.setBlockIndex(static_cast<int16_t>(k));
    block.bytes() = bytes;
    block.write(ds_);
  }
  for (int n = 0; n < layout_.inodeCount(); ++n) {
    Inode record = nodes_[n];
    if (keep_[n] && recordChanged_[n]) record.write(ds_);
  }
  markFree();
}

void ImageRepair::markUsed() {
  for (int n = 0; n < layout_.inodeCount(); ++n) {
    if (!keep_[n] || inodeMap_[n] == 1 || !mayChange("i-node", n)) continue;
    setMapByte(ds_, layout_.inodeMapByte(n));
    if (!inodeSaid_[n]) say(usedLine("i-node", n, inodeMap_[n]));
  }
  for (int k = 0; k < layout_.blockCount(); ++k) {
    if (!blockInUse_[k] || blockMap_[k] == 1 || !mayChange("datablock", k)) continue;
    setMapByte(ds_, layout_.blockMapByte(k));
    if (!blockSaid_[k]) say(usedLine("datablock", k, blockMap_[k]));
  }
  for (int u = 0; u < layout_.userCount(); ++u) {
    if (!userWanted(u) || userMap_[u] == 1 || !mayChange("user number", u)) continue;
    markUserNumberUsed(ds_, u);
    if (!userSaid_[u]) say(usedLine("user number", u, userMap_[u]));
  }
}

void ImageRepair::markFree() {
  for (int n = 1; n < layout_.inodeCount(); ++n)
    if (!keep_[n] && mayChange("i-node", n)) freeInodeRecord(n, inodeMap_[n] != 0);
  for (int k = 0; k < layout_.blockCount(); ++k)
    if (!blockInUse_[k] && !stray_[k] && mayChange("datablock", k))
      freeDatablock(k, blockMap_[k] != 0);
  for (int u = 0; u < layout_.userCount(); ++u) {
    if (userWanted(u) || userMap_[u] == 0 || !mayChange("user number", u)) continue;
    freeUserNumber(ds_, u);
    say(repairLine(Repair::kMarkedFree, {"user number", decimal(u)}));
  }
}

// Frees i-node n, not in use: its map byte and record zeroed (under -p only when no entry
// names it, its record being all zero); under -y a free record that is not zero is zeroed.
void ImageRepair::freeInodeRecord(int n, bool used) {
  if (used && (all_ || !namedInode_[n])) {
    freeInode(ds_, n);
    if (!inodeSaid_[n]) say(repairLine(Repair::kMarkedFree, {"i-node", decimal(n)}));
  } else if (!used && all_ && hasRecord_[n]) {
    uint8_t zero[INODE_SIZE] = {};
    Inode record;
    record.read(ds_, n);
    record.decode(zero);
    record.write(ds_);
    if (!inodeSaid_[n]) say(repairLine(Repair::kRecordZeroed, {decimal(n)}));
  }
}

// Frees datablock k, not in use: its map byte and content zeroed (under -p only when no block
// slot names it and its bytes are already zero); under -y a free datablock that is not zero is
// zeroed.
void ImageRepair::freeDatablock(int k, bool used) {
  DataBlock block;
  block.read(ds_, k);
  bool zero = allZero(block.bytes().data(), block.bytes().size());
  if (used && (all_ || (!namedBlock_[k] && zero))) {
    freeBlock(ds_, k);
    if (!blockSaid_[k]) say(repairLine(Repair::kMarkedFree, {"datablock", decimal(k)}));
    return;
  }
  if (used || zero) return;
  block.clear();
  block.write(ds_);
  if (!blockSaid_[k]) say(repairLine(Repair::kBlockZeroed, {decimal(k)}));
}

std::vector<std::string> repairImage(DiskStream& ds, RepairMode mode,
                                     const std::vector<Finding>& found) {
  return ImageRepair(ds, mode, found).run();
}

std::vector<std::string> repairImage(DiskStream& ds, RepairMode mode) {
  return repairImage(ds, mode, checkImage(ds).found);
}

RepairResult repairImageFile(const std::string& path, RepairMode mode) {
  RepairResult result;
  std::istringstream in;
  std::ostringstream discarded;
  Console con(in, discarded, discarded);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    result.failure = "the image does not exist.";
    return result;
  }
  FileDiskStream ds(con, path, false);
  CheckReport report = checkImage(ds);
  if (!ds.isOpen() || !report.readable) {
    result.failure = "the image can not be opened for writing.";
    return result;
  }
  result.lines = repairImage(ds, mode, report.found);
  if (ds.failed()) result.failure = "the image can not be written.";
  return result;
}

}  // namespace fs5
