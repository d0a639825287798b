#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "storage/AllocMaps.h"
#include "storage/Inode.h"
#include "tests/shell/ImageBuilders.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

// A fresh standard image has i-nodes 0 to 19 and datablocks 0 to 25 in use.
const std::string kRootStart = "Login: \nPassword: [root @fs5 /root/ ]# [root @fs5 /root/ ]# ";
const std::string kRootPrompt = "[root @fs5 /root/ ]# ";
const std::string kAnnaStart =
    "Login: \nPassword: [anna @fs5 /home/anna/ ]$ [anna @fs5 /home/anna/ ]$ ";
const std::string kAnnaPrompt = "[anna @fs5 /home/anna/ ]$ ";
const std::string kEnd = "\nPress Enter to continue.\n";

// The account anna (user number 1, password "pass12") with her home folder /home/anna.
void addAnna(ImageFixture& fx) { ASSERT_EQ(fx.addAccount("anna", "pass12"), 1); }

int16_t owner(ImageFixture& fx, int n) { return peek16(fx.image(), inodeAt(n)); }
uint16_t mode(ImageFixture& fx, int n) {
  return static_cast<uint16_t>(peek16(fx.image(), inodeAt(n) + 2));
}
int16_t blockCount(ImageFixture& fx, int n) { return peek16(fx.image(), inodeAt(n) + 206); }
int16_t blockOf(ImageFixture& fx, int n, int i) {
  return peek16(fx.image(), inodeAt(n) + 6 + 2 * i);
}
bool blockUsed(ImageFixture& fx, int k) { return peek(fx.image(), kBlockMap + k, 1)[0] != 0; }

// The bytes of a one-datablock file holding this text.
std::vector<uint8_t> oneBlock(const std::string& typed) {
  std::vector<uint8_t> b(typed.begin(), typed.end());
  b.push_back(27);
  b.resize(100, 0);
  return b;
}

// Lists files in /tmp with datablocks until only `leftFree` datablocks are free; returns them.
std::vector<int> fillBlocks(ImageFixture& fx, int leftFree) {
  auto freeNow = [&fx] {
    std::vector<uint8_t> map = peek(fx.image(), kBlockMap, 1000);
    std::vector<int> free;
    for (int k = 0; k < 1000; ++k)
      if (map[k] == 0) free.push_back(k);
    return free;
  };
  auto d = fx.open();
  for (int i = 0; static_cast<int>(freeNow().size()) > leftFree; ++i) {
    std::string path = "/tmp/fill" + std::to_string(i);
    if (createFile(d->ds, false, 0, path) < 0) break;
    Inode node;
    node.read(d->ds, inodeOf(fx, path));
    for (int free = static_cast<int>(freeNow().size());
         free > leftFree && node.getBlockCount() < 100; --free)
      node.appendBlock(allocBlock(d->ds));
    node.write(d->ds);
  }
  return freeNow();
}

TEST(CpCommand, CopiesFileIntoFolder) {
  ImageFixture fx;
  makeFolder(fx, "/a");              // 20, 26
  makeFolder(fx, "/b");              // 21, 27
  makeFile(fx, "/a/f", 0, "hello");  // 22, 28
  SessionResult r = fx.asRoot("cp /a/f /b\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kRootStart + "\nThe file \"f\" was successfully copied.\n" + kEnd + kRootPrompt);
  EXPECT_EQ(inodeOf(fx, "/b/f"), 23);
  EXPECT_EQ(blockCount(fx, 23), 1);
  EXPECT_EQ(blockOf(fx, 23, 0), 29);
  EXPECT_EQ(peek(fx.image(), blockAt(29), 100), oneBlock("hello"));
  EXPECT_EQ(mode(fx, 23), 0x1A4);
  EXPECT_TRUE(blockUsed(fx, 29));
  EXPECT_FALSE(blockUsed(fx, 30));
  EXPECT_TRUE(checkImageProblems(fx.image()).empty());
}

TEST(CpCommand, RelativePathsStartAtTheWorkingFolderWhichStays) {
  ImageFixture fx;
  makeFile(fx, "/root/f", 0, "mine");       // 20, 26
  makeFile(fx, "/tmp/g", 0, "older text");  // 21, 27
  SessionResult r = fx.asRoot("cp f ../tmp/g\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kRootStart + "\nThe file \"f\" was successfully copied.\n" + kEnd + kRootPrompt);
  EXPECT_EQ(blockCount(fx, 21), 1);
  EXPECT_EQ(peek(fx.image(), blockAt(27), 100), oneBlock("mine"));
}

TEST(CpCommand, NeedsTwoArguments) {
  ImageFixture fx;
  makeFile(fx, "/f", 0, "text");
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.asRoot("cp /f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kRootStart + "\nThis command requires 2 arguments.\nPress Enter to continue.\n" +
                kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CpCommand, OptionRCopiesTheTree) {
  ImageFixture fx;
  makeFolder(fx, "/a", 0);              // 20, 26
  makeFolder(fx, "/a/c", 0);            // 21, 27
  makeFile(fx, "/a/c/f", 0, "inside");  // 22, 28
  makeFolder(fx, "/b");                 // 23, 29
  setRights(fx, "/a/c", 0x1C0);
  SessionResult r = fx.asRoot("cp -R /a /b\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kRootStart + "\nThe folder \"a\" was successfully copied.\n" + kEnd + kRootPrompt);
  EXPECT_EQ(inodeOf(fx, "/b/a"), 24);
  EXPECT_EQ(inodeOf(fx, "/b/a/c"), 25);
  EXPECT_EQ(inodeOf(fx, "/b/a/c/.."), 24);
  EXPECT_EQ(inodeOf(fx, "/b/a/.."), 23);
  EXPECT_EQ(mode(fx, 25), 0x1C0);
  int16_t f = inodeOf(fx, "/b/a/c/f");
  ASSERT_EQ(f, 26);
  EXPECT_EQ(peek(fx.image(), blockAt(blockOf(fx, f, 0)), 100), oneBlock("inside"));
  EXPECT_TRUE(checkImageProblems(fx.image()).empty());
}

TEST(CpCommand, OtherOptionLettersAreIgnored) {
  ImageFixture fx;
  makeFile(fx, "/f", 0, "text");
  SessionResult r = fx.asRoot("cp -x /f /tmp\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kRootStart + "\nThe file \"f\" was successfully copied.\n" + kEnd + kRootPrompt);
  EXPECT_GE(inodeOf(fx, "/tmp/f"), 0);
}

TEST(CpCommand, FolderWithoutOptionRIsRefusedAfterAKey) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  std::vector<uint8_t> before = readBytes(fx.image());
  // One key for the copy's own wait, one for the branch's end.
  SessionResult r = fx.asRoot("cp /a /tmp\n\n\n");
  EXPECT_EQ(r.err, "The source of copying is not a file.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CpCommand, RootAsSourceIsRefusedWithoutAnExtraKey) {
  ImageFixture fx;
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.asRoot("cp / /tmp\n\n");
  EXPECT_EQ(r.err, "The source of copying is the root folder \"/\", not a file.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CpCommand, MissingDestinationIsReportedAfterAKey) {
  ImageFixture fx;
  makeFile(fx, "/f", 0, "text");
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.asRoot("cp /f /nosuch\n\n\n");
  EXPECT_EQ(r.err,
            "Folder or file \"nosuch\" not found.\n"
            "The destination of copying is neither a folder nor a file.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CpCommand, TreeIntoItselfIsRefusedWithoutAnExtraKey) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFolder(fx, "/a/c");
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.asRoot("cp -R /a /a/c\n\n");
  EXPECT_EQ(r.err, "The destination of copying is inside the source folder.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CpCommand, UnreadableSourceFolderRefusesWithOneAccessDenied) {
  ImageFixture fx;
  addAnna(fx);
  makeFolder(fx, "/a");
  makeFile(fx, "/a/f", 0, "secret");
  setRights(fx, "/a", 0x1C0);  // rwx------: anna may not read it
  makeFolder(fx, "/b");        // rwxr-xr-x: anna may not write it either
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.as("anna", "pass12", "cp /a/f /b\n\ncp -R /a /b\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kAnnaStart + "\nAccess denied.\nYou can not copy the \"f\" file.\n" + kEnd +
                kAnnaPrompt + "\nAccess denied.\nYou can not copy the \"a\" folder.\n" + kEnd +
                kAnnaPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CpCommand, ExistingFolderDestinationIsTestedOnItself) {
  ImageFixture fx;
  addAnna(fx);                          // i-nodes 20 (account) and 21 (home)
  makeFile(fx, "/f", 0, "public");      // 22
  makeFolder(fx, "/home/anna/box", 0);  // 23: in anna's folder, but not hers to write
  makeFolder(fx, "/locked");            // 24: not anna's to write
  makeFolder(fx, "/locked/pub");        // 25: anyone may write
  setRights(fx, "/locked/pub", 0x1EF);
  SessionResult r = fx.as("anna", "pass12", "cp /f box\n\ncp /f /locked/pub\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kAnnaStart + "\nAccess denied.\nYou can not copy the \"f\" file.\n" + kEnd +
                kAnnaPrompt + "\nThe file \"f\" was successfully copied.\n" + kEnd + kAnnaPrompt);
  EXPECT_EQ(inodeOf(fx, "/home/anna/box/f"), -1);
  EXPECT_EQ(inodeOf(fx, "/locked/pub/f"), 26);
}

TEST(CpCommand, OtherDestinationsAreTestedOnTheirFolder) {
  ImageFixture fx;
  addAnna(fx);
  makeFile(fx, "/f", 0, "public");         // 22
  makeFile(fx, "/home/anna/g", 0, "old");  // 23: root's file in anna's folder
  makeFile(fx, "/tmp/g", 1, "hers");       // 24: anna's file in root's folder
  SessionResult r = fx.as("anna", "pass12", "cp /f g\n\ncp /f /tmp/g\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kAnnaStart + "\nThe file \"f\" was successfully copied.\n" + kEnd + kAnnaPrompt +
                "\nAccess denied.\nYou can not copy the \"f\" file.\n" + kEnd + kAnnaPrompt);
  EXPECT_EQ(peek(fx.image(), blockAt(blockOf(fx, 23, 0)), 100), oneBlock("public"));
  EXPECT_EQ(peek(fx.image(), blockAt(blockOf(fx, 24, 0)), 100), oneBlock("hers"));
}

TEST(CpCommand, CopyBelongsToTheSourceOwner) {
  ImageFixture fx;
  addAnna(fx);
  makeFile(fx, "/f", 0, "roots");  // 22
  setRights(fx, "/f", 0x1A6);      // rw-r--rw-
  SessionResult r = fx.as("anna", "pass12", "cp /f .\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kAnnaStart + "\nThe file \"f\" was successfully copied.\n" + kEnd + kAnnaPrompt);
  int16_t copy = inodeOf(fx, "/home/anna/f");
  ASSERT_EQ(copy, 23);
  EXPECT_EQ(owner(fx, copy), 0);
  EXPECT_EQ(mode(fx, copy), 0x1A6);
}

TEST(CpCommand, DiskFullMidwayGivesTheBlocksBack) {
  ImageFixture fx;
  makeFolder(fx, "/b");                          // 20, 26
  makeFile(fx, "/f", 0, std::string(250, 'z'));  // 21: 27, 28, 29
  std::vector<int> spare = fillBlocks(fx, 2);
  ASSERT_EQ(spare.size(), 2u);

  SessionResult r = fx.asRoot("cp /f /b\n\n");
  EXPECT_EQ(r.err, "There are no free datablocks.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  int16_t copy = inodeOf(fx, "/b/f");
  ASSERT_GE(copy, 0);
  EXPECT_EQ(blockCount(fx, copy), 1);
  EXPECT_EQ(blockOf(fx, copy, 0), spare[0]);
  EXPECT_EQ(peek(fx.image(), blockAt(spare[0]), 100), std::vector<uint8_t>(100, 0));
  EXPECT_TRUE(blockUsed(fx, spare[0]));
  EXPECT_FALSE(blockUsed(fx, spare[1]));
  EXPECT_EQ(peek(fx.image(), blockAt(spare[1]), 100), std::vector<uint8_t>(100, 0));
  EXPECT_TRUE(checkImageProblems(fx.image()).empty());
}

}  // namespace
}  // namespace fs5::test
