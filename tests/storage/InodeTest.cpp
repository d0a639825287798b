#include "storage/Inode.h"
#include "tests/storage/StorageFixture.h"

namespace fs5::test {
namespace {

using InodeRecord = StorageTest;

TEST(Inode, DefaultRightsAndTheirText) {
  Inode folder;
  folder.makeFolder(0);
  EXPECT_EQ(folder.getType(), 1);
  EXPECT_EQ(folder.getMode(), 0x1ED);
  EXPECT_EQ(folder.rightsText(), "rwx r-x r-x ");
  Inode file;
  file.makeFile(3);
  EXPECT_EQ(file.getMode(), 0x1A4);
  EXPECT_EQ(file.getOwner(), 3);
  EXPECT_EQ(file.rightsText(), "rw- r-- r-- ");
}

TEST(Inode, RightsByIndexKeepTheReservedBits) {
  Inode n;
  n.makeFolder(0);
  EXPECT_TRUE(n.hasRight(1));
  EXPECT_TRUE(n.hasRight(9));
  n.revokeRight(2);
  EXPECT_EQ(n.getMode(), 0x16D);
  Inode f;
  f.makeFile(0);
  f.grantRight(8);
  EXPECT_EQ(f.getMode(), 0x1A6);
  uint8_t record[208] = {};
  record[2] = 0x00;
  record[3] = 0xFE;  // reserved bits 9-15 set, no rights
  Inode r;
  r.decode(record);
  r.grantRight(1);
  r.revokeRight(1);
  r.grantRight(9);
  EXPECT_EQ(r.getMode(), 0xFE01);
  r.clear();
  EXPECT_EQ(r.getMode(), 0xFE00);
}

TEST(Inode, BlockListIsBoundedAtBothEnds) {
  Inode n;
  EXPECT_FALSE(n.removeLastBlock());
  n.appendBlock(5);
  n.appendBlock(6);
  n.appendBlock(7);
  EXPECT_TRUE(n.removeLastBlock());
  EXPECT_EQ(n.getBlockCount(), 2);
  uint8_t record[208];
  n.encode(record);
  EXPECT_EQ(record[6 + 4], 0);  // entry 2 is cleared
  for (int i = 2; i < 100; ++i) EXPECT_TRUE(n.appendBlock(static_cast<int16_t>(i)));
  EXPECT_EQ(n.getBlockCount(), 100);
  EXPECT_FALSE(n.appendBlock(1));
  EXPECT_EQ(n.getBlockCount(), 100);
  EXPECT_EQ(n.getBlock(100), -1);
}

TEST(Inode, ABlockCountFromTheImageIsBounded) {
  uint8_t record[208] = {};
  record[206] = 0xff;
  record[207] = 0x7f;  // 32767
  Inode n;
  n.decode(record);
  EXPECT_EQ(n.getBlockCount(), 100);
  record[207] = 0xff;  // -1
  n.decode(record);
  EXPECT_EQ(n.getBlockCount(), 0);
  EXPECT_EQ(n.getBlock(0), -1);
}

TEST_F(InodeRecord, WriteEmptiesTheCopyAndReadRestoresTheRecord) {
  Inode n;
  ASSERT_EQ(n.allocate(*ds), 1);
  n.makeFile(4);
  n.appendBlock(0x0203);
  ASSERT_TRUE(n.write(*ds));
  EXPECT_EQ(n.getBlockCount(), 0);
  EXPECT_EQ(n.getNumber(), 1);
  std::vector<uint8_t> expected(208, 0);
  expected[0] = 4;
  expected[2] = 0xA4;
  expected[3] = 0x01;
  expected[4] = 2;
  expected[6] = 0x03;
  expected[7] = 0x02;
  expected[206] = 1;
  EXPECT_EQ(peek(image, inodeAt(1), 208), expected);
  Inode back;
  EXPECT_EQ(back.read(*ds, 1), 1);
  EXPECT_EQ(back.getOwner(), 4);
  EXPECT_EQ(back.getBlock(0), 0x0203);
}

TEST_F(InodeRecord, NumbersOutsideTheTableReadAsEmptyAndAreNeverWritten) {
  std::vector<uint8_t> before = readBytes(image);
  Inode n;
  EXPECT_EQ(n.read(*ds, 100), -1);
  EXPECT_FALSE(n.isValid());
  EXPECT_EQ(n.getType(), 0);
  n.makeFolder(0);
  EXPECT_FALSE(n.write(*ds));
  EXPECT_EQ(n.read(*ds, -7), -1);
  EXPECT_EQ(readBytes(image), before);
}

}  // namespace
}  // namespace fs5::test
