// File datablocks: 100 raw bytes of file content.
#ifndef FS5_STORAGE_DATABLOCK_H_
#define FS5_STORAGE_DATABLOCK_H_

#include <array>
#include <cstdint>

#include "storage/DiskStream.h"

namespace fs5 {

class DataBlock {
 public:
  DataBlock() = default;

  void clear() { data_.fill(0); }
  // Reads datablock k. Returns k, or -1 (zero bytes kept) when the read failed or k is outside
  // the area, which prints "The datablock index <k> is out of range.".
  int16_t read(DiskStream& ds, int k);
  // Writes the 100 bytes to the block index, then clears. False when nothing was written.
  bool write(DiskStream& ds);

  int16_t getBlockIndex() const { return blockIndex_; }
  void setBlockIndex(int16_t k) { blockIndex_ = k; }
  void set(int i, uint8_t byte) { data_[i] = byte; }
  std::array<uint8_t, BLOCK_SIZE>& bytes() { return data_; }
  const std::array<uint8_t, BLOCK_SIZE>& bytes() const { return data_; }

 private:
  std::array<uint8_t, BLOCK_SIZE> data_{};
  int16_t blockIndex_ = 0;
};

}  // namespace fs5

#endif  // FS5_STORAGE_DATABLOCK_H_
