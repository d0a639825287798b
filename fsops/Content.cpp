#include "fsops/Content.h"

#include <algorithm>

#include "fsops/Lookup.h"
#include "storage/BlockReservation.h"
#include "storage/DataBlock.h"

namespace fs5 {

bool appendUpToEndMark(const DataBlock& block, std::string& bytes) {
  const auto& data = block.bytes();
  auto mark = std::find(data.begin(), data.end(), END_MARK);
  bytes.append(data.begin(), mark);
  return mark != data.end();
}

namespace {

// Datablock `b` of stored content: its slice of `bytes`, the end mark after the last byte.
void fillContentBlock(DataBlock& block, std::string_view bytes, int b) {
  std::size_t from = static_cast<std::size_t>(b) * BLOCK_SIZE;
  for (int i = 0; i < BLOCK_SIZE; ++i) {
    std::size_t at = from + static_cast<std::size_t>(i);
    if (at < bytes.size()) block.set(i, static_cast<uint8_t>(bytes[at]));
    if (at == bytes.size()) block.set(i, END_MARK);
  }
}

}  // namespace

int blocksForContent(std::size_t length) {
  return static_cast<int>((length + 1 + BLOCK_SIZE - 1) / BLOCK_SIZE);
}

int16_t readContent(DiskStream& ds, const Inode& file, std::string& bytes) {
  bytes.clear();
  if (!file.isFile()) return -1;
  for (int b = 0; b < file.getBlockCount(); ++b) {
    DataBlock block;
    if (block.read(ds, file.getBlock(b)) < 0) {
      bytes.clear();
      return -1;
    }
    if (appendUpToEndMark(block, bytes)) return 0;
  }
  bytes.erase(bytes.find_last_not_of('\0') + 1);
  return 0;
}

StoreResult storeContent(DiskStream& ds, const Handle& file, std::string_view bytes) {
  if (eraseFile(ds, false, file) < 0) return StoreResult::NOT_ERASED;
  Inode node = file.node;  // as the erase left it: its first datablock alone
  while (node.getBlockCount() > 1) node.removeLastBlock();
  int blocks = blocksForContent(bytes.size());
  BlockReservation extra(ds);
  if (!extra.take(blocks - 1)) return StoreResult::NO_DATABLOCKS;
  extra.commit();
  for (int16_t k : extra.blocks()) node.appendBlock(k);
  for (int b = 0; b < blocks; ++b) {
    DataBlock block;
    block.setBlockIndex(node.getBlock(b));
    fillContentBlock(block, bytes, b);
    block.write(ds);
  }
  if (blocks > 1) node.write(ds);
  return StoreResult::STORED;
}

}  // namespace fs5
