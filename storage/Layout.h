// The disk image layout: the fixed sizes, the header and the region offsets.
//
// The whole file system lives in one file. Its regions follow each other with no gap:
//
//   +--------+-----------+---------------+----------+-------------------+-------------------+
//   | header | i-node map| datablock map | user map | i-node table      | datablock area    |
//   | 10 B   | I bytes   | B bytes       | U bytes  | I records x 208 B | B blocks x 100 B  |
//   +--------+-----------+---------------+----------+-------------------+-------------------+
//
//   header offset | field            | value
//   --------------+------------------+--------------------------------
//   0             | inodeMapStart    | always 10
//   2             | blockMapStart    | inodeMapStart + I
//   4             | userMapStart     | blockMapStart + B
//   6             | inodeTableStart  | userMapStart + U
//   8             | blockAreaStart   | inodeTableStart + I x 208
//
// Every field is a signed 16-bit little-endian number. A map byte is 0 (free) or non-zero
// (used). The standard image has I = 100, B = 1000, U = 100: offsets 10, 110, 1110, 1210,
// 22010, header bytes 0a 00 6e 00 56 04 ba 04 fa 55 and 122010 bytes in all.
#ifndef FS5_STORAGE_LAYOUT_H_
#define FS5_STORAGE_LAYOUT_H_

#include <cstdint>
#include <optional>

namespace fs5 {

inline constexpr int BLOCK_SIZE = 100;
inline constexpr int INODE_SIZE = 208;
inline constexpr int ENTRIES_PER_BLOCK = 3;
inline constexpr int MAX_NAME = 30;
inline constexpr int MAX_BLOCKS = 100;
inline constexpr int MAX_DEPTH = 8;
inline constexpr int HEADER_SIZE = 10;
inline constexpr int FOLDER_BLOCK_SIZE = 2 + ENTRIES_PER_BLOCK * (2 + MAX_NAME);

inline constexpr int STANDARD_INODES = 100;
inline constexpr int STANDARD_BLOCKS = 1000;
inline constexpr int STANDARD_USERS = 100;

static_assert(FOLDER_BLOCK_SIZE == 98, "a folder block holds a count and three entries");
static_assert(FOLDER_BLOCK_SIZE <= BLOCK_SIZE, "a folder block must fit in a datablock");
static_assert(INODE_SIZE == 6 + 2 * MAX_BLOCKS + 2, "owner, mode, type, blocks, blockCount");
static_assert(HEADER_SIZE == 5 * 2, "five 16-bit offsets");

// The five region offsets, as stored in the header.
struct DiskLayout {
  int16_t inodeMapStart = 0;
  int16_t blockMapStart = 0;
  int16_t userMapStart = 0;
  int16_t inodeTableStart = 0;
  int16_t blockAreaStart = 0;

  // The layout of an image with the given counts; an all-zero layout (not valid) when a count
  // is below 1 or an offset would not fit in its signed 16-bit field.
  static DiskLayout forCounts(int inodes, int blocks, int users);

  int inodeCount() const { return blockMapStart - inodeMapStart; }
  int blockCount() const { return userMapStart - blockMapStart; }
  int userCount() const { return inodeTableStart - userMapStart; }
  // Bytes the image needs: the end of the datablock area.
  int64_t imageSize() const { return int64_t{blockAreaStart} + int64_t{blockCount()} * BLOCK_SIZE; }

  // True when the offsets form a layout this system can use: the first map at 10, every
  // count at least 1, the regions in order and the i-node table I x 208 bytes long.
  bool isValid() const;

  // Absolute offsets of the records; empty when the number is outside its region.
  std::optional<int64_t> inodeMapByte(int n) const;
  std::optional<int64_t> blockMapByte(int k) const;
  std::optional<int64_t> userMapByte(int u) const;
  std::optional<int64_t> inodeOffset(int n) const;
  std::optional<int64_t> blockOffset(int k) const;

  void encode(uint8_t* header) const;
  static DiskLayout decode(const uint8_t* header);
};

}  // namespace fs5

#endif  // FS5_STORAGE_LAYOUT_H_
