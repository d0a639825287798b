#include "storage/AllocMaps.h"
#include "tests/storage/StorageFixture.h"

namespace fs5::test {
namespace {

using AllocMaps = StorageTest;

TEST_F(AllocMaps, AllocationIsFirstFitAndFreedNumbersComeBack) {
  EXPECT_EQ(allocInode(*ds), 1);
  EXPECT_EQ(allocInode(*ds), 2);
  EXPECT_EQ(allocInode(*ds), 3);
  EXPECT_EQ(freeInode(*ds, 2), 0);
  EXPECT_EQ(peek(image, kInodeMap + 2, 1), std::vector<uint8_t>{0});
  EXPECT_EQ(allocInode(*ds), 2);
  EXPECT_EQ(allocBlock(*ds), 1);
  EXPECT_EQ(allocUserNumber(*ds), 1);  // user number 0 is never handed out
  EXPECT_EQ(allocUserNumber(*ds), 2);
  EXPECT_EQ(peek(image, kUserMap, 3), (std::vector<uint8_t>{0, 1, 1}));
  EXPECT_EQ(errText(), "");
}

TEST_F(AllocMaps, FreeingZeroesTheRecordAndTheBlock) {
  int16_t n = allocInode(*ds);
  int16_t k = allocBlock(*ds);
  poke(image, inodeAt(n), {1, 2, 3});
  poke(image, blockAt(k) + 99, {7});
  EXPECT_EQ(freeInode(*ds, n), 0);
  EXPECT_EQ(freeBlock(*ds, k), 0);
  EXPECT_EQ(peek(image, inodeAt(n), 208), std::vector<uint8_t>(208, 0));
  EXPECT_EQ(peek(image, blockAt(k), 100), std::vector<uint8_t>(100, 0));
  EXPECT_EQ(peek(image, kBlockMap + k, 1), std::vector<uint8_t>{0});
}

TEST_F(AllocMaps, FreeingTwiceIsRefused) {
  int16_t k = allocBlock(*ds);
  EXPECT_EQ(freeBlock(*ds, k), 0);
  EXPECT_EQ(freeBlock(*ds, k), -1);
  EXPECT_EQ(errText(), "This datablock is already free.\n");
  EXPECT_EQ(freeInode(*ds, 50), -1);
  EXPECT_EQ(errText(), "This entry in file table is already empty.\n");
  EXPECT_EQ(freeUserNumber(*ds, 5), -1);
  EXPECT_EQ(errText(), "This user number in  table is already empty.\n");
}

TEST_F(AllocMaps, NumbersOutsideTheMapAreRefusedWithoutTouchingTheImage) {
  std::vector<uint8_t> before = readBytes(image);
  EXPECT_EQ(freeInode(*ds, 100), -1);
  EXPECT_EQ(errText(), "The i-node number 100 is out of range.\n");
  EXPECT_EQ(freeInode(*ds, -1), -1);
  EXPECT_EQ(errText(), "The i-node number -1 is out of range.\n");
  EXPECT_EQ(freeBlock(*ds, 1000), -1);
  EXPECT_EQ(errText(), "The datablock index 1000 is out of range.\n");
  EXPECT_EQ(freeUserNumber(*ds, 100), -1);
  EXPECT_EQ(errText(), "The user number 100 is out of range.\n");
  EXPECT_EQ(readBytes(image), before);
}

TEST_F(AllocMaps, FullMapsReportTheirOwnLine) {
  poke(image, kInodeMap, std::vector<uint8_t>(100, 1));
  EXPECT_EQ(allocInode(*ds), -1);
  EXPECT_EQ(errText(), "There are no free i-node blocks.\n");
  poke(image, kBlockMap, std::vector<uint8_t>(1000, 1));
  EXPECT_EQ(allocBlock(*ds), -1);
  EXPECT_EQ(errText(), "There are no free datablocks.\n");
  poke(image, kUserMap + 1, std::vector<uint8_t>(99, 1));
  EXPECT_EQ(allocUserNumber(*ds), -1);
  EXPECT_EQ(errText(), "There are no free user numbers.\n");
}

TEST_F(AllocMaps, FreeFlaggedRecordThatIsNotZeroStopsTheScan) {
  poke(image, inodeAt(1) + 4, {2});  // i-node 1 is free in the map but holds a type
  EXPECT_EQ(allocInode(*ds), -1);
  EXPECT_EQ(errText(), "Free blocks list failure. This i-node block is not free.\n");
  EXPECT_EQ(peek(image, kInodeMap + 1, 1), std::vector<uint8_t>{0});
  poke(image, blockAt(1) + 50, {9});
  EXPECT_EQ(allocBlock(*ds), -1);
  EXPECT_EQ(errText(), "Free blocks list failure. This datablock is not free.\n");
}

TEST_F(AllocMaps, AnyNonZeroMapByteCountsAsUsed) {
  poke(image, kInodeMap + 1, {2});
  EXPECT_EQ(allocInode(*ds), 2);
  EXPECT_TRUE(isInodeUsed(*ds, 1));
  EXPECT_EQ(freeInode(*ds, 1), 0);
}

}  // namespace
}  // namespace fs5::test
