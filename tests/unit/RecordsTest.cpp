// The image records byte by byte, and the allocation maps, as tables.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "storage/AllocMaps.h"
#include "storage/Coding.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Coding, SixteenBitFieldsAreLittleEndian) {
  uint8_t buf[2];
  encodeFixed16(buf, 0x0201);
  EXPECT_EQ(Bytes(buf, buf + 2), (Bytes{0x01, 0x02}));
  encodeSigned16(buf, -2);
  EXPECT_EQ(Bytes(buf, buf + 2), (Bytes{0xfe, 0xff}));
  EXPECT_EQ(decodeSigned16(buf), -2);
  EXPECT_EQ(decodeFixed16(buf), 0xfffe);
}

TEST(Layout, StandardHeaderOffsetsAndHeadersThatAreNoLayout) {
  DiskLayout l = DiskLayout::forCounts(100, 1000, 100);
  uint8_t header[10];
  l.encode(header);
  EXPECT_EQ(Bytes(header, header + 10), (Bytes{10, 0, 0x6e, 0, 0x56, 4, 0xba, 4, 0xfa, 0x55}));
  EXPECT_EQ(l.imageSize(), 122010);
  const std::optional<int64_t> offsets[] = {
      l.inodeOffset(99),   l.inodeOffset(100), l.inodeOffset(-1),  l.blockOffset(999),
      l.blockOffset(1000), l.inodeMapByte(99), l.blockMapByte(-5), l.userMapByte(100)};
  EXPECT_EQ(std::vector(std::begin(offsets), std::end(offsets)),
            (std::vector<std::optional<int64_t>>{21802, {}, {}, 121910, {}, 109, {}, {}}));
  EXPECT_TRUE((DiskLayout{10, 110, 1110, 1210, 22010}.isValid()));
  // clang-format off
  const DiskLayout noLayouts[] = {
      {11, 110, 1110, 1210, 22010}, {10, 10, 1110, 1210, 22010}, {10, 110, 110, 1210, 22010},
      {10, 110, 1110, 1110, 22010}, {10, 110, 1110, 1210, 22009}, {10, 110, 100, 1210, 22010},
      {0, 0, 0, 0, 0}};
  // clang-format on
  for (std::size_t i = 0; i < std::size(noLayouts); ++i)
    EXPECT_FALSE(noLayouts[i].isValid()) << "row " << i;
  EXPECT_EQ(DiskLayout::forCounts(151, 1000, 100).blockAreaStart, 32669);
  EXPECT_EQ(DiskLayout::forCounts(152, 1000, 100).blockAreaStart, 0);  // past 32767
}

TEST(Inode, FieldsRightsAndBoundedBlockList) {
  uint8_t record[208] = {4, 3, 0x00, 0xfe, 2, 0, 5, 6, 0xfe, 0xff};
  record[206] = 2;
  Inode n;
  n.decode(record);
  EXPECT_EQ(n.getOwner(), 0x0304);
  EXPECT_EQ(n.getBlock(0), 0x0605);
  EXPECT_EQ(n.getBlock(1), -2);
  n.grantRight(9);
  n.grantRight(1);
  n.revokeRight(1);
  EXPECT_EQ(n.getMode(), 0xfe01);
  EXPECT_EQ(n.rightsText(), "--- --- --x ");
  n.makeFolder(0);
  n.revokeRight(2);
  EXPECT_EQ(n.getMode(), 0xfe00 | 0x16d);
  EXPECT_EQ(n.rightsText(), "r-x r-x r-x ");
  uint8_t back[208];
  n.encode(back);
  EXPECT_EQ(Bytes(back, back + 10), (Bytes{0, 0, 0x6d, 0xff, 1, 0, 5, 6, 0xfe, 0xff}));
  for (int i = 2; i < 100; ++i) EXPECT_TRUE(n.appendBlock(static_cast<int16_t>(i + 1)));
  EXPECT_FALSE(n.appendBlock(1));
  EXPECT_TRUE(n.removeLastBlock());
  n.encode(back);
  EXPECT_EQ(Bytes(back + 202, back + 208), (Bytes{99, 0, 0, 0, 99, 0}));
  for (auto [count, expected] : {std::pair{0x7fff, 100}, {-1, 0}, {100, 100}}) {
    encodeSigned16(back + 206, static_cast<int16_t>(count));
    n.decode(back);
    EXPECT_EQ(n.getBlockCount(), expected);
  }
  EXPECT_EQ(n.getBlock(100), -1);
  n.clear();
  n.encode(back);
  Bytes cleared(208, 0);
  cleared[3] = 0xfe;  // the reserved bits stay
  EXPECT_EQ(Bytes(back, back + 208), cleared);
  Inode empty;
  EXPECT_FALSE(empty.removeLastBlock());
}

TEST(FolderBlock, EntriesAtTheirOffsetsAndBoundedCounts) {
  TempDir dir;
  ImageStream io(dir.file("x"));
  FolderBlock b;
  ASSERT_EQ(b.addEntry(io.con, 0x0102, std::string(30, 'n')), 0);
  ASSERT_EQ(b.addEntry(io.con, 8, "ab"), 0);
  EXPECT_EQ(b.addEntry(io.con, 9, std::string(31, 'x')), -1);
  ASSERT_EQ(b.addEntry(io.con, 9, "c"), 0);
  EXPECT_EQ(b.addEntry(io.con, 10, "d"), -1);
  EXPECT_EQ(io.out.str(),
            "Foldername (filename) can not exceed 30 symbols.\nParent folder datablock is full.\n");
  uint8_t bytes[98];
  b.encode(bytes);
  EXPECT_EQ(Bytes(bytes, bytes + 5), (Bytes{3, 0, 2, 1, 'n'}));
  EXPECT_EQ(Bytes(bytes + 33, bytes + 39), (Bytes{'n', 8, 0, 'a', 'b', 0}));
  EXPECT_EQ(b.getEntryName(0), std::string(30, 'n'));
  for (auto [count, expected] : {std::pair{200, 3}, {-1, 0}, {2, 2}}) {
    encodeSigned16(bytes, static_cast<int16_t>(count));
    b.decode(bytes);
    EXPECT_EQ(b.getCount(), expected);
  }
  EXPECT_EQ(b.getEntryName(7), "");
}

// Runs the map operation of a row: allocation ('i', 'b', 'u') or freeing ('I', 'B', 'U') of an
// i-node, a datablock or a user number.
int mapOperation(DiskStream& ds, char op, int n) {
  if (op == 'i') return allocInode(ds);
  if (op == 'b') return allocBlock(ds);
  if (op == 'u') return allocUserNumber(ds);
  if (op == 'I') return freeInode(ds, n);
  if (op == 'B') return freeBlock(ds, n);
  return freeUserNumber(ds, n);
}

// Operations on the maps of a fresh standard image (i-nodes 0-19, datablocks 0-25 and user
// number 0 used), each row after the ones before it; a row 'p' pokes the byte `result` at
// offset `n` of the image, a row 'f' marks `result` bytes used from there.
TEST(Maps, AllocationIsFirstFitAndFreeingIsChecked) {
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  ImageStream io(dir.file("i"));
  // clang-format off
  const std::tuple<char, int, int, std::string> rows[] = {
      {'i', 0, 20, ""}, {'I', 20, 0, ""}, {'i', 0, 20, ""},
      {'I', 50, -1, "This entry in file table is already empty.\n"},
      {'I', 100, -1, "The i-node number 100 is out of range.\n"},
      {'I', -1, -1, "The i-node number -1 is out of range.\n"},
      {'b', 0, 26, ""}, {'B', 26, 0, ""}, {'B', 26, -1, "This datablock is already free.\n"},
      {'B', 1000, -1, "The datablock index 1000 is out of range.\n"},
      {'u', 0, 1, ""}, {'u', 0, 2, ""}, {'U', 1, 0, ""}, {'u', 0, 1, ""},
      {'U', 5, -1, "This user number in  table is already empty.\n"},
      {'U', 100, -1, "The user number 100 is out of range.\n"},
      {'p', 10 + 21, 2, ""}, {'i', 0, 22, ""}, {'I', 21, 0, ""}, {'p', 1210 + 21 * 208 + 207, 1, ""},
      {'i', 0, -1, "Free blocks list failure. This i-node block is not free.\n"},
      {'p', 22010 + 2699, 1, ""}, {'b', 0, -1, "Free blocks list failure. This datablock is not free.\n"},
      {'f', 1111, 99, ""}, {'u', 0, -1, "There are no free user numbers.\n"}};
  // clang-format on
  for (const auto& [op, n, result, err] : rows) {
    io.ds.releaseLock();  // each row its own stretch, seeing the bytes poked before it
    if (op == 'p') poke(dir.file("i"), n, {static_cast<uint8_t>(result)});
    if (op == 'f') poke(dir.file("i"), n, Bytes(result, 1));
    if (op == 'p' || op == 'f') continue;
    io.out.str("");
    EXPECT_EQ(mapOperation(io.ds, op, n), result) << op << " " << n;
    EXPECT_EQ(io.out.str(), err) << op << " " << n;
  }
}

// An abandoned stretch leaves the image as its last commit made it (a growth undone too), gives
// the lock back and leaves no journal to roll back; the next stretch works as usual.
TEST(FileDiskStream, AbandonDropsTheStretchUnwritten) {
  TempDir dir;
  const std::string image = dir.file("disk.fs5");
  writeBytes(image, standardImage());
  ImageStream s(image);
  const uint8_t kept[] = {7}, dropped[] = {9, 9};
  ASSERT_TRUE(s.ds.write(5000, kept, 1) && s.ds.commit());
  ASSERT_TRUE(s.ds.write(6000, dropped, 2) && s.ds.write(122010, dropped, 2));
  s.ds.abandon();
  std::vector<uint8_t> expected = standardImage();
  expected[5000] = 7;
  EXPECT_EQ(readBytes(image), expected);
  int other = open(image.c_str(), O_RDWR);
  EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  close(other);
  uint8_t byte = 0;
  EXPECT_TRUE(s.ds.read(6000, &byte, 1) && byte == expected[6000]);
  EXPECT_EQ(s.ds.size(), 122010);
  EXPECT_FALSE(s.ds.rolledBack() || s.ds.failed());
}

}  // namespace
}  // namespace fs5::test
