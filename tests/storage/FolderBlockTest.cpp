#include "storage/DataBlock.h"
#include "storage/FolderBlock.h"
#include "tests/storage/StorageFixture.h"

namespace fs5::test {
namespace {

using FolderBlocks = StorageTest;

TEST(FolderBlock, ThirtyCharacterNamesFillTheFieldAndLongerOnesAreRefused) {
  std::istringstream in;
  std::ostringstream out, err;
  Console con(in, out, err);
  TempDir dir;
  FileDiskStream ds(con, dir.file("x"));
  FolderBlock b;
  std::string name30(30, 'n');
  ASSERT_EQ(b.addEntry(ds, 7, name30), 0);
  ASSERT_EQ(b.addEntry(ds, 8, "next"), 0);
  EXPECT_EQ(b.getEntryName(0), name30);
  EXPECT_EQ(b.getEntryName(1), "next");
  uint8_t bytes[98];
  b.encode(bytes);
  EXPECT_EQ(bytes[4 + 29], 'n');
  EXPECT_EQ(bytes[34], 8);
  EXPECT_EQ(b.addEntry(ds, 9, std::string(31, 'x')), -1);
  EXPECT_EQ(err.str(), "Foldername (filename) can not exceed 30 symbols.\n");
  ASSERT_EQ(b.addEntry(ds, 9, "third"), 0);
  EXPECT_EQ(b.addEntry(ds, 10, "fourth"), -1);
  EXPECT_EQ(err.str(),
            "Foldername (filename) can not exceed 30 symbols.\nParent folder datablock is full.\n");
}

TEST(FolderBlock, CountFromTheImageIsBounded) {
  uint8_t bytes[98] = {};
  bytes[0] = 200;
  FolderBlock b;
  b.decode(bytes);
  EXPECT_EQ(b.getCount(), 3);
  EXPECT_TRUE(b.isFull());
  bytes[1] = 0x80;  // negative
  b.decode(bytes);
  EXPECT_EQ(b.getCount(), 0);
  EXPECT_EQ(b.getEntryName(7), "");
}

TEST_F(FolderBlocks, FreshRootHoldsDotDotAndDot) {
  std::vector<uint8_t> expected(98, 0);
  expected[0] = 2;
  expected[4] = '.';
  expected[5] = '.';
  expected[36] = '.';
  EXPECT_EQ(peek(image, blockAt(0), 98), expected);
  Inode root;
  root.read(*ds, 0);
  EXPECT_TRUE(root.isFolder());
  EXPECT_EQ(root.getMode(), 0x1ED);
  EXPECT_EQ(root.getBlockCount(), 1);
  EXPECT_EQ(out.str(), "");
}

TEST_F(FolderBlocks, WriteLeavesTheLastTwoBytesAndEmptiesTheCopy) {
  poke(image, blockAt(0) + 98, {0xAB, 0xCD});
  FolderBlock b;
  b.read(*ds, 0);
  b.setEntryName(1, "dot");
  ASSERT_TRUE(b.write(*ds));
  EXPECT_EQ(b.getCount(), 0);
  EXPECT_EQ(b.getBlockIndex(), 0);
  EXPECT_EQ(peek(image, blockAt(0) + 36, 4), (std::vector<uint8_t>{'d', 'o', 't', 0}));
  EXPECT_EQ(peek(image, blockAt(0) + 98, 2), (std::vector<uint8_t>{0xAB, 0xCD}));
}

TEST_F(FolderBlocks, DataBlockWritesAllHundredBytes) {
  DataBlock d;
  ASSERT_EQ(d.allocate(*ds), 1);
  for (int i = 0; i < 100; ++i) d.set(i, static_cast<uint8_t>(i + 1));
  ASSERT_TRUE(d.write(*ds));
  EXPECT_EQ(d.at(5), 0);
  EXPECT_EQ(peek(image, blockAt(1) + 99, 1), std::vector<uint8_t>{100});
  DataBlock outside;
  EXPECT_EQ(outside.read(*ds, 1000), -1);
  EXPECT_FALSE(outside.write(*ds));
}

TEST_F(FolderBlocks, AddChildEntryFillsTheBlockThenGrowsTheFolder) {
  Inode root;
  root.read(*ds, 0);
  FolderBlock last;
  last.setBlockIndex(0);
  ASSERT_EQ(addChildEntry(*ds, root, last, true, 5, "a"), 0);
  EXPECT_EQ(root.getBlockCount(), 1);
  EXPECT_EQ(peek16(image, blockAt(0)), 3);
  ASSERT_EQ(addChildEntry(*ds, root, last, false, 6, "b"), 0);
  EXPECT_EQ(root.getBlockCount(), 2);
  EXPECT_EQ(root.getBlock(1), 1);
  EXPECT_EQ(last.getBlockIndex(), 1);
  EXPECT_EQ(peek16(image, blockAt(1)), 1);
  EXPECT_EQ(peek16(image, blockAt(1) + 2), 6);
  EXPECT_EQ(peek(image, blockAt(1) + 4, 2), (std::vector<uint8_t>{'b', 0}));
  EXPECT_EQ(peek(image, kBlockMap + 1, 1), std::vector<uint8_t>{1});
}

TEST_F(FolderBlocks, AddChildEntryWithoutAFreeDatablockLeavesTheFolder) {
  Inode root;
  root.read(*ds, 0);
  FolderBlock last;
  last.setBlockIndex(0);
  ASSERT_EQ(addChildEntry(*ds, root, last, true, 5, "a"), 0);
  poke(image, kBlockMap, std::vector<uint8_t>(1000, 1));
  std::vector<uint8_t> before = readBytes(image);
  EXPECT_EQ(addChildEntry(*ds, root, last, false, 6, "b"), -1);
  EXPECT_EQ(errText(), "There are no free datablocks.\nCan not create daughter file\"b\".\n");
  EXPECT_EQ(root.getBlockCount(), 1);
  EXPECT_EQ(readBytes(image), before);
}

TEST_F(FolderBlocks, AddChildEntryTestsTheNameBeforeGrowing) {
  Inode root;
  root.read(*ds, 0);
  FolderBlock last;
  last.setBlockIndex(0);
  ASSERT_EQ(addChildEntry(*ds, root, last, true, 5, "a"), 0);
  std::vector<uint8_t> before = readBytes(image);
  EXPECT_EQ(addChildEntry(*ds, root, last, true, 6, std::string(31, 'z')), -1);
  EXPECT_EQ(errText(), "Foldername (filename) can not exceed 30 symbols.\n");
  EXPECT_EQ(root.getBlockCount(), 1);
  EXPECT_EQ(readBytes(image), before);
}

}  // namespace
}  // namespace fs5::test
