// Folder datablocks: an entry count and three entries of i-node number and 30-byte name.
//
//   offset | field
//   -------+-----------------------------------------------
//   0      | count, signed 16-bit, 0 to 3
//   2 / 34 / 66  | entry 0 / 1 / 2 i-node, signed 16-bit
//   4 / 36 / 68  | entry 0 / 1 / 2 name, 30 bytes, zero-padded (a 30-character name fills it)
//   98     | two bytes never read or written
//
// Folders stay dense: every datablock of a folder but the last holds three entries, the last
// one to three, and the first starts with ".." and ".".
#ifndef FS5_STORAGE_FOLDERBLOCK_H_
#define FS5_STORAGE_FOLDERBLOCK_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

struct FolderEntry {
  int16_t inode = 0;
  std::array<char, MAX_NAME> name{};

  // The name up to its first zero byte, at most 30 characters.
  std::string nameText() const;
  void setName(std::string_view text);
  void clear();
};

class FolderBlock {
 public:
  FolderBlock() = default;

  // count 0 and every entry zero; keeps the block index.
  void clear();
  bool isFull() const { return getCount() >= ENTRIES_PER_BLOCK; }
  // Appends an entry in memory. -1 with "Foldername (filename) can not exceed 30 symbols." for
  // a longer name, or "Parent folder datablock is full." when three entries are there.
  int16_t addEntry(Console& con, int16_t inode, std::string_view name);
  // Takes the lowest free datablock (allocBlock) as this block's index; -1 when none is free.
  int16_t allocate(DiskStream& ds);

  // Reads datablock k as a folder block. Returns k, or -1 (an empty block kept) when the read
  // failed or k is outside the area, which prints "The datablock index <k> is out of range.".
  int16_t read(DiskStream& ds, int k);
  // Writes the 98 bytes back to the block index, then clears. False when nothing was written.
  bool write(DiskStream& ds);

  int16_t getBlockIndex() const { return blockIndex_; }
  void setBlockIndex(int16_t k) { blockIndex_ = k; }
  // The entry count, bounded to 0..3 whatever the image holds.
  int getCount() const;
  int16_t getEntryInode(int i) const;
  std::string getEntryName(int i) const;
  void setEntryInode(int i, int16_t inode);
  void setEntryName(int i, std::string_view name);
  void clearEntry(int i);
  void decrementCount();

  void encode(uint8_t* bytes) const;
  void decode(const uint8_t* bytes);

 private:
  static bool inSlots(int i) { return i >= 0 && i < ENTRIES_PER_BLOCK; }

  int16_t count_ = 0;
  std::array<FolderEntry, ENTRIES_PER_BLOCK> entries_{};
  int16_t blockIndex_ = 0;
};

// The name-length line of an entry name over 30 characters.
void printNameTooLong(Console& con);

// Adds the entry {inode, name} to `folder`, whose last datablock has the index of `last` (only
// the index is used: the block is read again here, so that the entry joins what the image
// holds). When that block is full a new datablock is taken and appended to the folder's list
// in memory; the caller writes the folder's i-node afterwards. The name's length is tested
// before anything is taken. Returns 0 or -1 (printed: the name-length line, or "There are no
// free datablocks." then "Can not create daughter folder"<name>"." / file; -1 also when the
// block could not be read or written).
int16_t addChildEntry(DiskStream& ds, Inode& folder, FolderBlock& last, bool isFolder,
                      int16_t inode, std::string_view name);

}  // namespace fs5

#endif  // FS5_STORAGE_FOLDERBLOCK_H_
