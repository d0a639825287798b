// An i-node: its number and the 208-byte record that says who owns a folder or file, its
// nine rights bits, its type and the datablocks of its content, in order.
//
//   record offset | field      | type
//   --------------+------------+-------------------------------------------------
//   0             | owner      | signed 16-bit user number (0 = superuser)
//   2             | mode       | unsigned 16-bit: bits 0-8 rights, 9-15 reserved
//   4             | type       | signed 16-bit: 0 free, 1 folder, 2 file
//   6             | blocks     | 100 x signed 16-bit datablock indexes
//   206           | blockCount | signed 16-bit, 0 to 100
//
// Rights are named by an index k from 1 to 9: owner r w x, group r w x, others r w x; right k
// is bit 9 - k of mode.
#ifndef FS5_STORAGE_INODE_H_
#define FS5_STORAGE_INODE_H_

#include <array>
#include <cstdint>
#include <string>

#include "storage/DiskStream.h"

namespace fs5 {

// Byte offsets of the record's fields (the table above).
inline constexpr int RECORD_OWNER = 0;
inline constexpr int RECORD_MODE = 2;
inline constexpr int RECORD_TYPE = 4;
inline constexpr int RECORD_BLOCKS = 6;
inline constexpr int RECORD_BLOCK_COUNT = 206;
static_assert(RECORD_BLOCK_COUNT == RECORD_BLOCKS + 2 * MAX_BLOCKS, "the count follows the list");

inline constexpr int16_t TYPE_FREE = 0;
inline constexpr int16_t TYPE_FOLDER = 1;
inline constexpr int16_t TYPE_FILE = 2;
inline constexpr uint16_t RIGHTS_MASK = 0x1FF;
inline constexpr uint16_t FOLDER_RIGHTS = 0x1ED;  // rwxr-xr-x
inline constexpr uint16_t FILE_RIGHTS = 0x1A4;    // rw-r--r--
inline constexpr int RIGHT_READ = 7;
inline constexpr int RIGHT_WRITE = 8;
inline constexpr int RIGHT_EXECUTE = 9;

// "folder" or "file", as messages name an object's kind.
inline std::string kindWord(bool isFolder) { return isFolder ? "folder" : "file"; }

class Inode {
 public:
  Inode() = default;

  // Sets owner, rights, type, blocks and blockCount to 0; keeps the number and reserved bits.
  void clear();

  // Reads record n. Returns n, or -1 (an all-zero record kept) when the read failed or n is
  // outside the table, which prints "The i-node number <n> is out of range.".
  int16_t read(DiskStream& ds, int n);
  // Writes the record back to its number, then clears it. False when the number is outside
  // the table (nothing is written).
  bool write(DiskStream& ds);
  // Takes the lowest free i-node number (allocInode); -1 when none is free.
  int16_t allocate(DiskStream& ds);

  int16_t getNumber() const { return number_; }
  int16_t getOwner() const { return owner_; }
  void setOwner(int16_t owner) { owner_ = owner; }
  uint16_t getMode() const { return mode_; }
  uint16_t getRights() const { return mode_ & RIGHTS_MASK; }
  // Replaces the nine rights bits; the reserved bits stay.
  void setRights(uint16_t rights);
  int16_t getType() const { return type_; }
  bool isFolder() const { return type_ == TYPE_FOLDER; }
  bool isFile() const { return type_ == TYPE_FILE; }

  // The number of listed datablocks, bounded to 0..100 whatever the record holds.
  int getBlockCount() const;
  // Entry i of the block list, or -1 when i is not below getBlockCount().
  int16_t getBlock(int i) const;
  // Appends k to the block list; false (nothing changed) when it already lists 100.
  bool appendBlock(int16_t k);
  // Drops the last entry of the block list (it frees nothing); false when the list is empty.
  bool removeLastBlock();

  void makeFolder(int16_t owner);
  void makeFile(int16_t owner);

  bool hasRight(int k) const;
  void grantRight(int k);
  void revokeRight(int k);
  // The rights as nine letters with a blank after every third ("rwx r-x r-x ").
  std::string rightsText() const;

  void encode(uint8_t* record) const;
  void decode(const uint8_t* record);

 private:
  static uint16_t rightMask(int k);

  int16_t number_ = 0;
  int16_t owner_ = 0;
  uint16_t mode_ = 0;
  int16_t type_ = 0;
  std::array<int16_t, MAX_BLOCKS> blocks_{};
  int16_t blockCount_ = 0;
};

}  // namespace fs5

#endif  // FS5_STORAGE_INODE_H_
