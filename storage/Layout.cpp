#include "storage/Layout.h"

#include <limits>

#include "storage/Coding.h"

namespace fs5 {

DiskLayout DiskLayout::forCounts(int inodes, int blocks, int users) {
  if (inodes < 1 || blocks < 1 || users < 1) return DiskLayout{};
  int64_t blockMap = int64_t{HEADER_SIZE} + inodes;
  int64_t userMap = blockMap + blocks;
  int64_t inodeTable = userMap + users;
  int64_t blockArea = inodeTable + int64_t{inodes} * INODE_SIZE;
  if (blockArea > std::numeric_limits<int16_t>::max()) return DiskLayout{};
  DiskLayout l;
  l.inodeMapStart = HEADER_SIZE;
  l.blockMapStart = static_cast<int16_t>(blockMap);
  l.userMapStart = static_cast<int16_t>(userMap);
  l.inodeTableStart = static_cast<int16_t>(inodeTable);
  l.blockAreaStart = static_cast<int16_t>(blockArea);
  return l;
}

bool DiskLayout::isValid() const {
  if (inodeMapStart != HEADER_SIZE) return false;
  if (blockMapStart <= inodeMapStart || userMapStart <= blockMapStart) return false;
  if (inodeTableStart <= userMapStart || blockAreaStart <= inodeTableStart) return false;
  return int{blockAreaStart} == int{inodeTableStart} + inodeCount() * INODE_SIZE;
}

namespace {
std::optional<int64_t> within(int64_t base, int index, int count, int size) {
  if (index < 0 || index >= count) return std::nullopt;
  return base + int64_t{index} * size;
}
}  // namespace

std::optional<int64_t> DiskLayout::inodeMapByte(int n) const {
  return within(inodeMapStart, n, inodeCount(), 1);
}
std::optional<int64_t> DiskLayout::blockMapByte(int k) const {
  return within(blockMapStart, k, blockCount(), 1);
}
std::optional<int64_t> DiskLayout::userMapByte(int u) const {
  return within(userMapStart, u, userCount(), 1);
}
std::optional<int64_t> DiskLayout::inodeOffset(int n) const {
  return within(inodeTableStart, n, inodeCount(), INODE_SIZE);
}
std::optional<int64_t> DiskLayout::blockOffset(int k) const {
  return within(blockAreaStart, k, blockCount(), BLOCK_SIZE);
}

void DiskLayout::encode(uint8_t* header) const {
  encodeSigned16(header + 0, inodeMapStart);
  encodeSigned16(header + 2, blockMapStart);
  encodeSigned16(header + 4, userMapStart);
  encodeSigned16(header + 6, inodeTableStart);
  encodeSigned16(header + 8, blockAreaStart);
}

DiskLayout DiskLayout::decode(const uint8_t* header) {
  DiskLayout l;
  l.inodeMapStart = decodeSigned16(header + 0);
  l.blockMapStart = decodeSigned16(header + 2);
  l.userMapStart = decodeSigned16(header + 4);
  l.inodeTableStart = decodeSigned16(header + 6);
  l.blockAreaStart = decodeSigned16(header + 8);
  return l;
}

}  // namespace fs5
