// The checker on damaged images: each test breaks one thing in a freshly formatted standard
// image by poking bytes, then expects the exact problem lines.
//
// The fresh image: i-node 0 is the root (datablocks 0 3 7 11 15 19 23), i-nodes 1 to 17 are
// /bin ... /var, 4 is /etc (datablock 5), 18 is /etc/passwd (datablock 24), 19 is the file
// /etc/passwd/root (datablock 25). /bin has datablock 1; root datablock 23 holds only "var"
// (i-node 17); root datablock 3 holds boot, dev, etc.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Write.h"
#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Checker.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

class Damaged : public ::testing::Test {
 protected:
  void byte(int64_t offset, uint8_t value) { poke(f.image(), offset, {value}); }
  void word(int64_t offset, int value) {
    poke(f.image(), offset,
         {static_cast<uint8_t>(value & 0xff), static_cast<uint8_t>((value >> 8) & 0xff)});
  }
  void name(int64_t offset, const std::string& text) {
    std::vector<uint8_t> field(30, 0);
    for (std::size_t i = 0; i < text.size() && i < 30; ++i)
      field[i] = static_cast<uint8_t>(text[i]);
    poke(f.image(), offset, field);
  }
  static int64_t count(int block) { return blockAt(block); }
  static int64_t slotInode(int block, int slot) { return blockAt(block) + 2 + 32 * slot; }
  static int64_t slotName(int block, int slot) { return slotInode(block, slot) + 2; }
  void entry(int block, int slot, int inode, const std::string& text) {
    word(slotInode(block, slot), inode);
    name(slotName(block, slot), text);
  }
  static int64_t type(int n) { return inodeAt(n) + 4; }
  static int64_t blockSlot(int n, int i) { return inodeAt(n) + 6 + 2 * i; }
  static int64_t blockCount(int n) { return inodeAt(n) + 206; }
  // Makes i-node n a used file of the one (used) datablock k, reached by no entry.
  void looseFile(int n, int k) {
    word(inodeAt(n) + 2, 0x1A4);
    word(type(n), 2);
    word(blockSlot(n, 0), k);
    word(blockCount(n), 1);
    byte(kInodeMap + n, 1);
    byte(kBlockMap + k, 1);
  }

  void expectProblems(const std::vector<std::string>& lines) {
    CheckReport r = checkImageFile(f.image());
    ASSERT_TRUE(r.readable) << r.failure;
    EXPECT_EQ(r.problems, lines);
    EXPECT_EQ(r.exitStatus(), 4);
  }
  void expectUnreadable(const std::string& failure) {
    CheckReport r = checkImageFile(f.image());
    EXPECT_FALSE(r.readable);
    EXPECT_EQ(r.failure, failure);
    EXPECT_EQ(r.exitStatus(), 8);
  }

  ImageFixture f;
};

TEST(CheckerSound, FreshImageIsSoundWithItsCounts) {
  ImageFixture f;
  CheckReport r = checkImageFile(f.image());
  EXPECT_TRUE(r.readable);
  EXPECT_EQ(r.problems, std::vector<std::string>{});
  EXPECT_EQ(r.exitStatus(), 0);
  EXPECT_EQ(r.folders, 19);
  EXPECT_EQ(r.files, 1);
  EXPECT_EQ(r.usedInodes, 20);
  EXPECT_EQ(r.usedBlocks, 26);
  EXPECT_EQ(r.accounts, 1);
  EXPECT_EQ(r.summary(),
            "folders 19, files 1, used i-nodes 20, used datablocks 26, accounts 1, problems 0");
}

// Header and readability.
TEST_F(Damaged, HeaderThatIsNotALayoutCanNotBeRead) {
  word(0, 11);
  expectUnreadable("the header is not a valid layout.");
}

TEST_F(Damaged, TableLengthThatDisagreesWithTheMapCanNotBeRead) {
  word(8, 22011);
  expectUnreadable("the header is not a valid layout.");
}

TEST_F(Damaged, ImageShorterThanItsLayoutCanNotBeRead) {
  std::vector<uint8_t> bytes = readBytes(f.image());
  bytes.pop_back();
  writeBytes(f.image(), bytes);
  expectUnreadable("the image is shorter than its layout (122009 of 122010 bytes).");
}

TEST_F(Damaged, ImageShorterThanTheHeaderCanNotBeRead) {
  writeBytes(f.image(), {0x0a, 0x00, 0x6e, 0x00, 0x56});
  expectUnreadable("the image is shorter than its header.");
  writeBytes(f.image(), {});
  expectUnreadable("the image is shorter than its header.");
}

TEST(CheckerUnreadable, MissingImageAndFolderInsteadOfImage) {
  TempDir dir;
  CheckReport missing = checkImageFile(dir.file("disk.fs5"));
  EXPECT_FALSE(missing.readable);
  EXPECT_EQ(missing.failure, "the image does not exist.");
  EXPECT_EQ(missing.exitStatus(), 8);
  CheckReport folder = checkImageFile(dir.path());
  EXPECT_FALSE(folder.readable);
  EXPECT_EQ(folder.failure, "the image can not be read.");
  EXPECT_EQ(folder.exitStatus(), 8);
}

TEST_F(Damaged, BytesPastTheLayoutAreNotJudged) {
  std::vector<uint8_t> bytes = readBytes(f.image());
  bytes.insert(bytes.end(), {1, 2, 3});
  writeBytes(f.image(), bytes);
  CheckReport r = checkImageFile(f.image());
  EXPECT_TRUE(r.sound());
}

TEST_F(Damaged, CheckingChangesNoByte) {
  byte(kBlockMap + 600, 1);
  word(type(1), 7);
  std::vector<uint8_t> before = readBytes(f.image());
  EXPECT_FALSE(checkImageFile(f.image()).sound());
  EXPECT_EQ(readBytes(f.image()), before);
}

// A stream over a copy of the image in memory that counts writes and can fail its reads from
// the n-th one on.
class MemoryStream : public DiskStream {
 public:
  MemoryStream(Console& con, std::vector<uint8_t> bytes, int failingRead)
      : DiskStream(con), bytes_(std::move(bytes)), failingRead_(failingRead) {}
  int writes = 0;
  int reads = 0;

 protected:
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override {
    if (++reads >= failingRead_ && failingRead_ > 0) return false;
    if (offset + static_cast<int64_t>(n) > static_cast<int64_t>(bytes_.size())) return false;
    std::copy_n(bytes_.begin() + offset, n, buf);
    return true;
  }
  bool writeAt(int64_t, const uint8_t*, std::size_t) override {
    ++writes;
    return true;
  }
  int64_t fileSize() override { return static_cast<int64_t>(bytes_.size()); }

 private:
  std::vector<uint8_t> bytes_;
  int failingRead_;
};

TEST(CheckerStream, ChecksAnOpenStreamWithoutWriting) {
  ImageFixture f;
  std::istringstream in;
  std::ostringstream out, err;
  Console con(in, out, err);
  MemoryStream ds(con, readBytes(f.image()), 0);
  CheckReport r = checkImage(ds);
  EXPECT_TRUE(r.sound());
  EXPECT_EQ(r.usedBlocks, 26);
  EXPECT_GT(ds.reads, 0);
  EXPECT_EQ(ds.writes, 0);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "");
}

TEST(CheckerStream, ReadFailingMidwayMakesTheImageUnreadable) {
  ImageFixture f;
  std::istringstream in;
  std::ostringstream out, err;
  Console con(in, out, err);
  MemoryStream ds(con, readBytes(f.image()), 500);
  CheckReport r = checkImage(ds);
  EXPECT_FALSE(r.readable);
  EXPECT_EQ(r.failure, "the image can not be read.");
  EXPECT_EQ(r.problems, std::vector<std::string>{});
  EXPECT_EQ(r.exitStatus(), 8);
  EXPECT_EQ(ds.writes, 0);
}

// Maps.
TEST_F(Damaged, MapBytesOtherThanZeroOrOne) {
  byte(kInodeMap + 1, 2);
  byte(kBlockMap + 1, 255);
  byte(kUserMap + 0, 3);
  expectProblems({"i-node 1: map byte is 2, not 0 or 1.",
                  "datablock 1: map byte is 255, not 0 or 1.",
                  "user number 0: map byte is 3, not 0 or 1."});
}

TEST_F(Damaged, FreeInodeWithARecord) {
  byte(inodeAt(50) + 207, 1);
  expectProblems({"i-node 50: free but its record is not all zero."});
}

TEST_F(Damaged, FreeDatablockWithBytesEvenInItsLastTwo) {
  byte(blockAt(500) + 99, 1);
  expectProblems({"datablock 500: free but not all zero."});
}

TEST_F(Damaged, UsedInodeWithAZeroRecord) {
  byte(kInodeMap + 30, 1);
  expectProblems({"i-node 30: used but its record is all zero."});
}

// I-node records.
TEST_F(Damaged, UsedInodeOfAnUnknownType) {
  word(type(1), 3);
  expectProblems({"i-node 1: used but its type is 3, neither 1 (folder) nor 2 (file)."});
  CheckReport r = checkImageFile(f.image());
  EXPECT_EQ(r.folders, 18);
}

TEST_F(Damaged, BlockCountOfZero) {
  word(blockCount(1), 0);
  expectProblems({"i-node 1: block count is 0, not 1 to 100.",
                  "i-node 1: unlisted block slot 0 holds 1, not 0.",
                  "datablock 1: used but listed by no i-node."});
}

TEST_F(Damaged, BlockCountPastAHundred) {
  auto d = f.open(std::string(9999, 'x') + "\x1b\n");
  ASSERT_EQ(createFile(d->ds, false, 0, "/tmp/big"), 0);
  ASSERT_EQ(writeFile(d->ds, "/tmp/big"), 0);
  d.reset();
  ASSERT_EQ(peek16(f.image(), blockCount(20)), 100);
  EXPECT_TRUE(checkImageFile(f.image()).sound());
  word(blockCount(20), 101);
  expectProblems({"i-node 20: block count is 101, not 1 to 100."});
}

TEST_F(Damaged, ListedDatablockOutsideTheArea) {
  word(blockSlot(1, 0), 1000);
  expectProblems({"i-node 1: lists datablock 1000, outside the datablock area.",
                  "datablock 1: used but listed by no i-node."});
}

TEST_F(Damaged, ListedDatablockFreeInTheMap) {
  byte(kBlockMap + 25, 0);
  expectProblems({"i-node 19: lists datablock 25, which is free in the map."});
}

TEST_F(Damaged, DatablockListedByTwoInodes) {
  word(blockSlot(19, 1), 1);
  word(blockCount(19), 2);
  expectProblems({"i-node 19: lists datablock 1, already listed by i-node 1."});
}

TEST_F(Damaged, DatablockListedTwiceByOneInode) {
  word(blockSlot(19, 1), 25);
  word(blockCount(19), 2);
  expectProblems({"i-node 19: lists datablock 25 twice."});
}

TEST_F(Damaged, UnlistedBlockSlotNotZero) {
  word(blockSlot(19, 5), 7);
  expectProblems({"i-node 19: unlisted block slot 5 holds 7, not 0."});
}

TEST_F(Damaged, UsedDatablockListedByNoInodeIsALeak) {
  byte(kBlockMap + 600, 1);
  expectProblems({"datablock 600: used but listed by no i-node."});
}

// The root folder.
TEST_F(Damaged, RootThatIsAFile) {
  word(type(0), 2);
  expectProblems({"i-node 0: the root is not a folder."});
}

TEST_F(Damaged, RootFreeInTheMap) {
  byte(kInodeMap + 0, 0);
  expectProblems(
      {"i-node 0: free but its record is not all zero.",
       "datablock 0: used but listed by no i-node.", "datablock 3: used but listed by no i-node.",
       "datablock 7: used but listed by no i-node.", "datablock 11: used but listed by no i-node.",
       "datablock 15: used but listed by no i-node.", "datablock 19: used but listed by no i-node.",
       "datablock 23: used but listed by no i-node.",
       "i-node 0: the root folder is free in the map."});
}

// Dot entries.
TEST_F(Damaged, DotDotNamingAnotherFolder) {
  word(slotInode(5, 0), 3);
  expectProblems({"/etc: \"..\" names i-node 3 instead of 0."});
}

TEST_F(Damaged, DotNamingAnotherFolder) {
  word(slotInode(5, 1), 5);
  expectProblems({"/etc: \".\" names i-node 5 instead of 4."});
}

TEST_F(Damaged, RootDotMustNameTheRoot) {
  word(slotInode(0, 1), 1);
  expectProblems({"/: \".\" names i-node 1 instead of 0."});
}

TEST_F(Damaged, FirstBlockNotStartingWithDotDot) {
  name(slotName(5, 0), "xx");
  expectProblems({"/etc: the first datablock does not start with \"..\".",
                  "/etc/xx: names i-node 0 (/), a folder on its own path."});
}

TEST_F(Damaged, FirstBlockWithoutDot) {
  name(slotName(24, 1), "self");
  expectProblems({"/etc/passwd: the second entry of the first datablock is not \".\".",
                  "/etc/passwd/self: names i-node 18 (/etc/passwd), a folder on its own path."});
}

TEST_F(Damaged, DotOutOfItsPlace) {
  word(count(23), 2);
  entry(23, 1, 0, "..");
  expectProblems({"/: datablock 23 slot 1 holds an entry \"..\" out of its place."});
}

// Density and counts.
TEST_F(Damaged, BlockThatIsNotTheLastHoldingFewerThanThree) {
  // Moves "etc" from root datablock 3 to the last one, datablock 23.
  word(count(3), 2);
  entry(3, 2, 0, "");
  word(count(23), 2);
  entry(23, 1, 4, "etc");
  expectProblems({"/: datablock 3 holds 2 entries but is not the folder's last."});
}

TEST_F(Damaged, LastBlockHoldingNoEntries) {
  word(blockSlot(1, 1), 600);
  word(blockCount(1), 2);
  byte(kBlockMap + 600, 1);
  expectProblems({"/bin: datablock 1 holds 2 entries but is not the folder's last.",
                  "/bin: datablock 600 is the folder's last but holds no entries."});
}

TEST_F(Damaged, EntryCountOutOfRange) {
  word(count(24), 7);
  expectProblems({"/etc/passwd: datablock 24 has the entry count 7, not 0 to 3."});
}

TEST_F(Damaged, SlotPastTheCountNotZero) {
  byte(slotName(23, 2) + 29, 'x');
  expectProblems({"/: datablock 23 slot 2 is past the entry count but not zero."});
}

TEST_F(Damaged, FolderBlockBytes98And99AreNotJudged) {
  poke(f.image(), blockAt(0) + 98, {0xab, 0xcd});
  poke(f.image(), blockAt(24) + 98, {0x01, 0x02});
  EXPECT_TRUE(checkImageFile(f.image()).sound());
}

TEST_F(Damaged, ReservedModeBitsAndRightsAreNotJudged) {
  word(inodeAt(1) + 2, 0xFE00);
  word(inodeAt(19) + 2, 0x01FF);
  EXPECT_TRUE(checkImageFile(f.image()).sound());
}

// Entries.
TEST_F(Damaged, EntryNamingAFreeInode) {
  word(count(23), 2);
  entry(23, 1, 50, "ghost");
  expectProblems({"/ghost: names i-node 50, which is free in the map."});
}

TEST_F(Damaged, EntryNamingAnInodeOutsideTheTable) {
  word(count(23), 2);
  entry(23, 1, -3, "ghost");
  expectProblems({"/ghost: names i-node -3, outside the i-node table."});
}

TEST_F(Damaged, EntryWithAnEmptyName) {
  name(slotName(23, 0), "");
  expectProblems({"/: datablock 23 slot 0 holds an entry with an empty name."});
}

TEST_F(Damaged, EntryWithASlashInItsName) {
  name(slotName(23, 0), "v/r");
  expectProblems({"/: the entry \"v/r\" has a \"/\" in its name."});
}

TEST_F(Damaged, NameEnteredTwiceInAFolder) {
  name(slotName(23, 0), "usr");
  expectProblems({"/: the name \"usr\" is entered more than once."});
}

TEST_F(Damaged, InodeLinkedTwice) {
  word(count(23), 2);
  entry(23, 1, 1, "bin2");
  expectProblems({"/bin2: names i-node 1, already reached as /bin."});
}

TEST_F(Damaged, EntryMakingACycle) {
  word(count(1), 3);
  entry(1, 2, 0, "up");
  expectProblems({"/bin/up: names i-node 0 (/), a folder on its own path."});
}

TEST_F(Damaged, InodeReachedByNoEntry) {
  looseFile(50, 600);
  expectProblems({"i-node 50: used but reached by no entry."});
}

TEST_F(Damaged, PathDeeperThanEightLevels) {
  auto d = f.open();
  for (const char* path : {"/a", "/a/b", "/a/b/c", "/a/b/c/d", "/a/b/c/d/e", "/a/b/c/d/e/f",
                           "/a/b/c/d/e/f/g", "/a/b/c/d/e/f/g/h"})
    ASSERT_EQ(createFolder(d->ds, false, 0, path), 0) << path;
  d.reset();
  EXPECT_TRUE(checkImageFile(f.image()).sound());
  // /a/b/c/d/e/f/g/h is i-node 27 with datablock 33, holding ".." and "." only.
  ASSERT_EQ(peek16(f.image(), blockSlot(27, 0)), 33);
  looseFile(50, 600);
  word(count(33), 3);
  entry(33, 2, 50, "i");
  expectProblems({"/a/b/c/d/e/f/g/h/i: deeper than 8 levels."});
}

// Accounts.
TEST_F(Damaged, AccountFolderMissing) {
  name(slotName(5, 2), "pass");
  expectProblems({"/etc/passwd: not found."});
}

TEST_F(Damaged, AccountFolderThatIsAFile) {
  word(type(18), 2);
  expectProblems({"i-node 19: used but reached by no entry.", "/etc/passwd: not a folder."});
}

TEST_F(Damaged, AccountEntryThatIsAFolder) {
  auto d = f.open();
  ASSERT_EQ(createFolder(d->ds, false, 0, "/etc/passwd/staff"), 0);
  d.reset();
  expectProblems({"/etc/passwd/staff: not a file."});
}

TEST_F(Damaged, AccountNumberFreeInTheUserMap) {
  byte(kUserMap + 0, 0);
  expectProblems({"/etc/passwd/root: user number 0 is free in the user map."});
}

TEST_F(Damaged, AccountNumberOutsideTheUserMap) {
  word(blockAt(25) + 2, 100);
  expectProblems({"/etc/passwd/root: user number 100 is outside the user map.",
                  "user number 0: the superuser's number is held by no account."});
}

TEST_F(Damaged, TwoAccountsSharingANumber) {
  auto d = f.open();
  ASSERT_EQ(addUserRecord(d->ds, "anna", "annapw", 0), 0);
  d.reset();
  expectProblems({"/etc/passwd/anna: shares user number 0 with \"root\"."});
}

TEST_F(Damaged, SuperuserNumberHeldByAnotherName) {
  name(slotName(24, 2), "toor");
  expectProblems({"user number 0: held by \"toor\", not by \"root\"."});
}

TEST_F(Damaged, SuperuserNumberHeldByNoAccount) {
  word(blockAt(25) + 2, 3);
  byte(kUserMap + 3, 1);
  expectProblems({"user number 0: the superuser's number is held by no account."});
}

TEST_F(Damaged, UsedUserNumberHeldByNoAccount) {
  byte(kUserMap + 5, 1);
  expectProblems({"user number 5: used but held by no account."});
}

}  // namespace
}  // namespace fs5::test
