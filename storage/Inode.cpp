#include "storage/Inode.h"

#include <algorithm>

#include "storage/AllocMaps.h"
#include "storage/Coding.h"

namespace fs5 {

void Inode::clear() {
  owner_ = 0;
  mode_ &= static_cast<uint16_t>(~RIGHTS_MASK);
  type_ = 0;
  blocks_.fill(0);
  blockCount_ = 0;
}

int16_t Inode::read(DiskStream& ds, int n) {
  uint8_t record[INODE_SIZE] = {};
  auto offset = ds.layout().inodeOffset(n);
  if (!offset) reportOutOfRange(ds.console(), "i-node number", n);
  bool ok = offset && ds.read(*offset, record, sizeof record);
  decode(record);
  number_ = static_cast<int16_t>(ok ? n : -1);
  return number_;
}

bool Inode::write(DiskStream& ds) {
  auto offset = ds.layout().inodeOffset(number_);
  bool ok = false;
  if (offset) {
    uint8_t record[INODE_SIZE];
    encode(record);
    ok = ds.write(*offset, record, sizeof record);
  }
  clear();
  return ok;
}

int16_t Inode::allocate(DiskStream& ds) {
  number_ = allocInode(ds);
  return number_;
}

void Inode::setRights(uint16_t rights) {
  mode_ = static_cast<uint16_t>((mode_ & ~RIGHTS_MASK) | (rights & RIGHTS_MASK));
}

int Inode::getBlockCount() const { return std::clamp<int>(blockCount_, 0, MAX_BLOCKS); }

int16_t Inode::getBlock(int i) const {
  if (i < 0 || i >= getBlockCount()) return -1;
  return blocks_[i];
}

bool Inode::appendBlock(int16_t k) {
  int count = getBlockCount();
  if (count >= MAX_BLOCKS) return false;
  blocks_[count] = k;
  blockCount_ = static_cast<int16_t>(count + 1);
  return true;
}

bool Inode::removeLastBlock() {
  int count = getBlockCount();
  if (count <= 0) return false;
  blocks_[count - 1] = 0;
  blockCount_ = static_cast<int16_t>(count - 1);
  return true;
}

void Inode::makeFolder(int16_t owner) {
  type_ = TYPE_FOLDER;
  owner_ = owner;
  setRights(FOLDER_RIGHTS);
}

void Inode::makeFile(int16_t owner) {
  type_ = TYPE_FILE;
  owner_ = owner;
  setRights(FILE_RIGHTS);
}

uint16_t Inode::rightMask(int k) {
  if (k < 1 || k > 9) return 0;
  return static_cast<uint16_t>(1u << (9 - k));
}

bool Inode::hasRight(int k) const { return (mode_ & rightMask(k)) != 0; }
void Inode::grantRight(int k) { mode_ = static_cast<uint16_t>(mode_ | rightMask(k)); }
void Inode::revokeRight(int k) { mode_ = static_cast<uint16_t>(mode_ & ~rightMask(k)); }

std::string Inode::rightsText() const {
  static constexpr char kLetters[] = "rwxrwxrwx";
  std::string text;
  for (int k = 1; k <= 9; ++k) {
    text.push_back(hasRight(k) ? kLetters[k - 1] : '-');
    if (k % 3 == 0) text.push_back(' ');
  }
  return text;
}

void Inode::encode(uint8_t* record) const {
  encodeSigned16(record + RECORD_OWNER, owner_);
  encodeFixed16(record + RECORD_MODE, mode_);
  encodeSigned16(record + RECORD_TYPE, type_);
  for (int i = 0; i < MAX_BLOCKS; ++i) encodeSigned16(record + RECORD_BLOCKS + 2 * i, blocks_[i]);
  encodeSigned16(record + RECORD_BLOCK_COUNT, blockCount_);
}

void Inode::decode(const uint8_t* record) {
  owner_ = decodeSigned16(record + RECORD_OWNER);
  mode_ = decodeFixed16(record + RECORD_MODE);
  type_ = decodeSigned16(record + RECORD_TYPE);
  for (int i = 0; i < MAX_BLOCKS; ++i) blocks_[i] = decodeSigned16(record + RECORD_BLOCKS + 2 * i);
  blockCount_ = decodeSigned16(record + RECORD_BLOCK_COUNT);
}

}  // namespace fs5
