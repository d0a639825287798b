#include "storage/FolderBlock.h"

#include <algorithm>
#include <cstring>

#include "storage/AllocMaps.h"
#include "storage/Coding.h"

namespace fs5 {

std::string FolderEntry::nameText() const {
  auto end = std::find(name.begin(), name.end(), '\0');
  return std::string(name.begin(), end);
}

void FolderEntry::setName(std::string_view text) {
  name.fill('\0');
  std::memcpy(name.data(), text.data(), std::min<std::size_t>(text.size(), MAX_NAME));
}

void FolderEntry::clear() {
  inode = 0;
  name.fill('\0');
}

void FolderBlock::clear() {
  count_ = 0;
  for (auto& e : entries_) e.clear();
}

void printNameTooLong(Console& con) {
  con.error("Foldername (filename) can not exceed " + std::to_string(MAX_NAME) + " symbols.");
}

int16_t FolderBlock::addEntry(Console& con, int16_t inode, std::string_view name) {
  if (name.size() > MAX_NAME) {
    printNameTooLong(con);
    return -1;
  }
  if (isFull()) {
    con.error("Parent folder datablock is full.");
    return -1;
  }
  int slot = getCount();
  entries_[slot].inode = inode;
  entries_[slot].setName(name);
  count_ = static_cast<int16_t>(slot + 1);
  return 0;
}

int16_t FolderBlock::allocate(DiskStream& ds) {
  blockIndex_ = allocBlock(ds);
  return blockIndex_;
}

int16_t FolderBlock::read(DiskStream& ds, int k) {
  uint8_t bytes[FOLDER_BLOCK_SIZE] = {};
  auto offset = ds.layout().blockOffset(k);
  if (!offset) reportOutOfRange(ds.console(), "datablock index", k);
  bool ok = offset && ds.read(*offset, bytes, sizeof bytes);
  decode(bytes);
  blockIndex_ = static_cast<int16_t>(ok ? k : -1);
  return blockIndex_;
}

bool FolderBlock::write(DiskStream& ds) {
  auto offset = ds.layout().blockOffset(blockIndex_);
  bool ok = false;
  if (offset) {
    uint8_t bytes[FOLDER_BLOCK_SIZE];
    encode(bytes);
    ok = ds.write(*offset, bytes, sizeof bytes);
  }
  clear();
  return ok;
}

int FolderBlock::getCount() const { return std::clamp<int>(count_, 0, ENTRIES_PER_BLOCK); }

int16_t FolderBlock::getEntryInode(int i) const { return inSlots(i) ? entries_[i].inode : 0; }

std::string FolderBlock::getEntryName(int i) const {
  return inSlots(i) ? entries_[i].nameText() : std::string();
}

void FolderBlock::setEntryInode(int i, int16_t inode) {
  if (inSlots(i)) entries_[i].inode = inode;
}

void FolderBlock::setEntryName(int i, std::string_view name) {
  if (inSlots(i)) entries_[i].setName(name);
}

void FolderBlock::clearEntry(int i) {
  if (inSlots(i)) entries_[i].clear();
}

void FolderBlock::decrementCount() {
  if (getCount() > 0) count_ = static_cast<int16_t>(getCount() - 1);
}

void FolderBlock::encode(uint8_t* bytes) const {
  encodeSigned16(bytes, count_);
  for (int i = 0; i < ENTRIES_PER_BLOCK; ++i) {
    uint8_t* entry = bytes + 2 + i * (2 + MAX_NAME);
    encodeSigned16(entry, entries_[i].inode);
    std::memcpy(entry + 2, entries_[i].name.data(), MAX_NAME);
  }
}

void FolderBlock::decode(const uint8_t* bytes) {
  count_ = decodeSigned16(bytes);
  for (int i = 0; i < ENTRIES_PER_BLOCK; ++i) {
    const uint8_t* entry = bytes + 2 + i * (2 + MAX_NAME);
    entries_[i].inode = decodeSigned16(entry);
    std::memcpy(entries_[i].name.data(), entry + 2, MAX_NAME);
  }
}

namespace {
void printCanNotGrow(Console& con, bool isFolder, std::string_view name) {
  con.error(std::string("Can not create daughter ") + kindWord(isFolder) + "\"" +
            std::string(name) + "\".");
}
}  // namespace

int16_t addChildEntry(DiskStream& ds, Inode& folder, FolderBlock& last, bool isFolder,
                      int16_t inode, std::string_view name) {
  if (name.size() > MAX_NAME) {
    printNameTooLong(ds.console());
    return -1;
  }
  if (last.read(ds, last.getBlockIndex()) < 0) return -1;
  if (last.isFull()) {
    if (folder.getBlockCount() >= MAX_BLOCKS || last.allocate(ds) < 0) {
      printCanNotGrow(ds.console(), isFolder, name);
      return -1;
    }
    folder.appendBlock(last.getBlockIndex());
    last.clear();
  }
  int16_t added = last.addEntry(ds.console(), inode, name);
  if (!last.write(ds)) return -1;
  return added;
}

}  // namespace fs5
