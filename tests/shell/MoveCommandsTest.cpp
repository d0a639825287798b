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

using Bytes = std::vector<uint8_t>;

// A fresh standard image has i-nodes 0 to 19 and datablocks 0 to 25 in use.
const std::string kRootStart = "Login: \nPassword: [root @fs5 /root/ ]# [root @fs5 /root/ ]# ";
const std::string kRootPrompt = "[root @fs5 /root/ ]# ";
const std::string kAnnaStart =
    "Login: \nPassword: [anna @fs5 /home/anna/ ]$ [anna @fs5 /home/anna/ ]$ ";
const std::string kAnnaPrompt = "[anna @fs5 /home/anna/ ]$ ";
const std::string kEnd = "\nPress Enter to continue.\n";

// The account anna (user number 1, password "pass12") with her home folder /home/anna:
// i-nodes 20 (the account) and 21 (the home folder).
void addAnna(ImageFixture& fx) { ASSERT_EQ(fx.addAccount("anna", "pass12"), 1); }

int16_t field(ImageFixture& fx, int64_t at) { return peek16(fx.image(), at); }
int16_t blockCount(ImageFixture& fx, int n) { return field(fx, inodeAt(n) + 206); }
int16_t blockOf(ImageFixture& fx, int n, int i) { return field(fx, inodeAt(n) + 6 + 2 * i); }
bool inodeUsed(ImageFixture& fx, int n) { return peek(fx.image(), kInodeMap + n, 1)[0] != 0; }
bool blockUsed(ImageFixture& fx, int k) { return peek(fx.image(), kBlockMap + k, 1)[0] != 0; }

// The name in slot s of datablock k.
std::string slotName(ImageFixture& fx, int k, int s) {
  Bytes b = peek(fx.image(), blockAt(k) + 4 + 32 * s, 30);
  std::string name(b.begin(), b.end());
  return name.substr(0, name.find('\0'));
}

TEST(MvCommand, MovesAFileIntoAFolderWithItsSuccessLineOnStandardError) {
  ImageFixture fx;
  makeFolder(fx, "/a");              // 20, 26
  makeFolder(fx, "/b");              // 21, 27
  makeFile(fx, "/a/f", 0, "hello");  // 22, 28
  SessionResult r = fx.asRoot("mv /a/f /b\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "The file \"f\" was successfully moved.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(inodeOf(fx, "/a/f"), -1);
  EXPECT_EQ(inodeOf(fx, "/b/f"), 22);
  EXPECT_EQ(field(fx, blockAt(26)), 2);
  EXPECT_EQ(field(fx, blockAt(27)), 3);
  EXPECT_EQ(blockOf(fx, 22, 0), 28);
}

TEST(MvCommand, RenamesInPlaceWithRelativePathsAndTheWorkingFolderStays) {
  ImageFixture fx;
  makeFile(fx, "/root/f", 0, "one");  // 20, 26: /root is [.., ., f]
  makeFile(fx, "/root/x", 0, "two");  // 21, 27; /root grows by 28, holding x
  int16_t root = inodeOf(fx, "/root");
  ASSERT_EQ(blockCount(fx, root), 2);
  int16_t first = blockOf(fx, root, 0);
  SessionResult r = fx.asRoot("mv f g\n\n");
  EXPECT_EQ(r.err, "The file \"f\" was successfully renamed and moved.\n");
  // The second empty line is printed when the folder's last entry moves into the emptied slot.
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n\n" + kEnd + kRootPrompt);
  EXPECT_EQ(blockCount(fx, root), 2);
  EXPECT_EQ(field(fx, blockAt(first)), 3);
  EXPECT_EQ(slotName(fx, first, 2), "g");
  EXPECT_EQ(inodeOf(fx, "/root/g"), 20);
  EXPECT_EQ(inodeOf(fx, "/root/f"), -1);
}

TEST(MvCommand, ReplacedFileIsFreed) {
  ImageFixture fx;
  makeFolder(fx, "/a");                            // 20, 26
  makeFolder(fx, "/b");                            // 21, 27
  makeFile(fx, "/a/f", 0, "new");                  // 22, 28
  makeFile(fx, "/b/h", 0, std::string(150, 'h'));  // 23: 29, 30
  SessionResult r = fx.asRoot("mv /a/f /b/h\n\n");
  EXPECT_EQ(r.err, "The file \"f\" was successfully moved.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(inodeOf(fx, "/b/h"), -1);
  EXPECT_EQ(inodeOf(fx, "/b/f"), 22);
  EXPECT_FALSE(inodeUsed(fx, 23));
  EXPECT_FALSE(blockUsed(fx, 29));
  EXPECT_FALSE(blockUsed(fx, 30));
  EXPECT_EQ(peek(fx.image(), blockAt(29), 200), Bytes(200, 0));
  EXPECT_EQ(peek(fx.image(), inodeAt(23), 208), Bytes(208, 0));
}

TEST(MvCommand, NeedsTwoArguments) {
  ImageFixture fx;
  makeFile(fx, "/f", 0, "text");
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("mv /f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kRootStart + "\nThis command requires 2 arguments.\nPress Enter to continue.\n" +
                kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, AFolderIsRefusedAfterAKey) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  Bytes before = readBytes(fx.image());
  // One key for the move's own wait, one for the branch's end.
  SessionResult r = fx.asRoot("mv /a /tmp\n\n\n");
  EXPECT_EQ(r.err, "The source of moving is not a file.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, TheRootIsRefusedAfterAKey) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("mv / /tmp\n\n\n");
  EXPECT_EQ(r.err, "The source of moving is the root folder \"/\", not a file.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, MissingFolderPartIsNamedThenTheMoveFailsWithTwoWaits) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFile(fx, "/a/f", 0, "text");
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("mv /a/f /nosuch/g\n\n\n");
  EXPECT_EQ(r.err, "Folder or file \"nosuch\" not found.\nThe moving of the file failed.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\nPress Enter to continue.\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, OntoItselfThroughDotsIsRefused) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFile(fx, "/a/f", 0, "text");
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("mv /a/f /a/../a/./f\n\n\n");
  EXPECT_EQ(r.err, "You can not move a file onto itself.\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n" + kEnd + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, SourceFolderMustBeWritable) {
  ImageFixture fx;
  addAnna(fx);
  Bytes before = readBytes(fx.image());
  // /etc/passwd is rwxr-xr-x and root's: anna may read it, not write it.
  SessionResult r = fx.as("anna", "pass12", "mv /etc/passwd/root .\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            kAnnaStart + "\nAccess denied.\nYou can not move (and rename) the \"root\" file.\n" +
                kEnd + kAnnaPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, EachRefusedRightPrintsOneAccessDenied) {
  ImageFixture fx;
  addAnna(fx);
  makeFolder(fx, "/a");  // 22
  makeFile(fx, "/a/f", 0, "closed");
  setRights(fx, "/a", 0x1C0);  // rwx------: anna may neither read nor write it
  makeFolder(fx, "/pub");      // anyone may read and write it
  makeFile(fx, "/pub/p", 0, "open");
  setRights(fx, "/pub", 0x1FF);
  Bytes before = readBytes(fx.image());
  // /tmp is rwxr-xr-x and root's: anna may not write into it.
  SessionResult r = fx.as("anna", "pass12", "mv /a/f .\n\nmv /pub/p /tmp\n\nmv /pub/p /tmp/q\n\n");
  EXPECT_EQ(r.err, "");
  const std::string refused =
      "\nAccess denied.\nYou can not move (and rename) the \"f\" file.\n" + kEnd + kAnnaPrompt;
  const std::string refusedP =
      "\nAccess denied.\nYou can not move (and rename) the \"p\" file.\n" + kEnd + kAnnaPrompt;
  EXPECT_EQ(withoutClears(r.out), kAnnaStart + refused + refusedP + refusedP);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(MvCommand, DestinationRightIsTestedOnAnExistingFolderItself) {
  ImageFixture fx;
  addAnna(fx);
  makeFolder(fx, "/pub");  // 22
  setRights(fx, "/pub", 0x1FF);
  makeFile(fx, "/pub/p", 0, "open");      // 23
  makeFile(fx, "/pub/q", 0, "open too");  // 24
  makeFolder(fx, "/locked");              // 25: not anna's to write
  makeFolder(fx, "/locked/drop");         // 26: anyone may write
  setRights(fx, "/locked/drop", 0x1EF);
  makeFolder(fx, "/home/anna/box", 0);  // 27: in anna's folder, not hers to write
  SessionResult r =
      fx.as("anna", "pass12", "mv /pub/p /locked/drop\n\nmv /pub/q box\n\nmv /pub/q notes\n\n");
  EXPECT_EQ(r.err,
            "The file \"p\" was successfully moved.\n"
            "The file \"q\" was successfully renamed and moved.\n");
  EXPECT_EQ(withoutClears(r.out),
            kAnnaStart + "\n\n" + kEnd + kAnnaPrompt +
                "\nAccess denied.\nYou can not move (and rename) the \"q\" file.\n" + kEnd +
                kAnnaPrompt + "\n" + kEnd + kAnnaPrompt);
  EXPECT_EQ(inodeOf(fx, "/locked/drop/p"), 23);
  EXPECT_EQ(inodeOf(fx, "/home/anna/box/q"), -1);
  EXPECT_EQ(inodeOf(fx, "/home/anna/notes"), 24);
}

}  // namespace
}  // namespace fs5::test
