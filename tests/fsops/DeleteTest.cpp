#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Delete.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "storage/FolderBlock.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Direct = ImageFixture::Direct;

const std::string kClear(25, '\n');
const std::string kFileQuestion =
    "Delete file with all its content?\n(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)\n";
const std::string kFolderQuestion =
    "Delete folder with all its content?\n(\"Enter\" - yes, \"Esc\" - no)\n";

bool allZero(const Bytes& bytes) {
  return !bytes.empty() &&
         std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

int16_t inodeOf(Direct& d, const std::string& path) {
  PathName p;
  p.parse(d.con, path);
  return resolveWhole(d.ds, false, p);
}

int16_t blockCountOf(const std::string& image, int inode) {
  return peek16(image, inodeAt(inode) + 206);
}
int16_t listedBlock(const std::string& image, int inode, int i) {
  return peek16(image, inodeAt(inode) + 6 + 2 * i);
}
uint8_t inodeMapByte(const std::string& image, int n) { return peek(image, kInodeMap + n, 1)[0]; }
uint8_t blockMapByte(const std::string& image, int k) { return peek(image, kBlockMap + k, 1)[0]; }

// Slot i of a folder datablock as "<inode>:<name>", read straight from the image.
std::string slotText(const std::string& image, int block, int slot) {
  Bytes b = peek(image, blockAt(block) + 2 + slot * 32, 32);
  std::string name(b.begin() + 2, b.end());
  name = name.substr(0, name.find('\0'));
  return std::to_string(static_cast<int16_t>(b[0] | (b[1] << 8))) + ":" + name;
}

// A folder's datablocks as the image holds them: per block its valid slots, and a check that
// the slots past the count are all zero.
std::vector<std::string> folderBlocks(const std::string& image, int inode) {
  std::vector<std::string> blocks;
  for (int i = 0; i < blockCountOf(image, inode); ++i) {
    int block = listedBlock(image, inode, i);
    int count = peek16(image, blockAt(block));
    std::string text;
    for (int s = 0; s < count; ++s) text += (s ? " " : "") + slotText(image, block, s);
    for (int s = count; s < 3; ++s)
      if (!allZero(peek(image, blockAt(block) + 2 + s * 32, 32))) text += " <dirty slot>";
    blocks.push_back(text);
  }
  return blocks;
}

std::string entryText(int inode, const std::string& name) {
  return std::to_string(inode) + ":" + name;
}

// Checks that i-node n and datablock k were given back: free in their maps and all zero.
void expectFreed(const std::string& image, int inode, int block) {
  EXPECT_EQ(inodeMapByte(image, inode), 0) << "i-node " << inode;
  EXPECT_TRUE(allZero(peek(image, inodeAt(inode), 208))) << "i-node " << inode;
  EXPECT_EQ(blockMapByte(image, block), 0) << "datablock " << block;
  EXPECT_TRUE(allZero(peek(image, blockAt(block), 100))) << "datablock " << block;
}

// A folder /d holding files A and B: ["..", ".", A] [B].
struct TwoBlockFolder {
  ImageFixture fx;
  int16_t d = -1, a = -1, b = -1;
  TwoBlockFolder() {
    auto dir = fx.open();
    createFolder(dir->ds, false, 0, "/d");
    createFile(dir->ds, false, 0, "/d/A");
    createFile(dir->ds, false, 0, "/d/B");
    d = inodeOf(*dir, "/d");
    a = inodeOf(*dir, "/d/A");
    b = inodeOf(*dir, "/d/B");
  }
};

TEST(RemoveEntry, OnlyEntryOfLastBlockMovesIntoHoleAndBlockIsFreed) {
  TwoBlockFolder t;
  const std::string& image = t.fx.image();
  int16_t first = listedBlock(image, t.d, 0);
  int16_t second = listedBlock(image, t.d, 1);
  int16_t aBlock = listedBlock(image, t.a, 0);
  auto dir = t.fx.open();
  EXPECT_EQ(deleteFile(dir->ds, false, "/d/A"), 0);
  EXPECT_EQ(dir->out.str(), "\n");  // a quiet removal of an entry that is not the last
  EXPECT_EQ(dir->err.str(), "");
  EXPECT_EQ(blockCountOf(image, t.d), 1);
  EXPECT_EQ(listedBlock(image, t.d, 0), first);
  EXPECT_EQ(peek16(image, inodeAt(t.d) + 6 + 2), 0);  // the vacated list item
  EXPECT_EQ(folderBlocks(image, t.d),
            (std::vector<std::string>{entryText(0, "..") + " " + entryText(t.d, ".") + " " +
                                      entryText(t.b, "B")}));
  expectFreed(image, t.a, aBlock);
  EXPECT_EQ(blockMapByte(image, second), 0);
  EXPECT_TRUE(allZero(peek(image, blockAt(second), 100)));
}

TEST(RemoveEntry, ThreeEntryFolderKeepsTheRightBlocksAndSlots) {
  for (const std::string victim : {"B", "A"}) {
    SCOPED_TRACE(victim);
    TwoBlockFolder t;
    const std::string& image = t.fx.image();
    auto dir = t.fx.open();
    createFile(dir->ds, false, 0, "/d/C");
    int16_t c = inodeOf(*dir, "/d/C");
    int16_t gone = victim == "A" ? t.a : t.b;
    int16_t goneBlock = listedBlock(image, gone, 0);
    EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/" + victim), 0);
    EXPECT_EQ(dir->out.str(), "Deleting file: \"" + victim + "\".\n");
    EXPECT_EQ(dir->err.str(), "");
    std::string dots = entryText(0, "..") + " " + entryText(t.d, ".") + " ";
    if (victim == "B") {
      EXPECT_EQ(folderBlocks(image, t.d),
                (std::vector<std::string>{dots + entryText(t.a, "A"), entryText(c, "C")}));
    } else {
      EXPECT_EQ(folderBlocks(image, t.d),
                (std::vector<std::string>{dots + entryText(c, "C"), entryText(t.b, "B")}));
    }
    expectFreed(image, gone, goneBlock);
  }
}

TEST(RemoveEntry, OnlyChildLeavesDotsAndKeepsTheBlock) {
  ImageFixture fx;
  auto dir = fx.open();
  createFolder(dir->ds, false, 0, "/e");
  createFile(dir->ds, false, 0, "/e/x");
  int16_t e = inodeOf(*dir, "/e");
  int16_t x = inodeOf(*dir, "/e/x");
  int16_t xBlock = listedBlock(fx.image(), x, 0);
  EXPECT_EQ(removeEntry(dir->ds, false, false, "/e/x"), 0);
  EXPECT_EQ(dir->out.str(), "");  // the last entry leaves quietly
  EXPECT_EQ(folderBlocks(fx.image(), e),
            (std::vector<std::string>{entryText(0, "..") + " " + entryText(e, ".")}));
  EXPECT_EQ(blockMapByte(fx.image(), listedBlock(fx.image(), e, 0)), 1);
  expectFreed(fx.image(), x, xBlock);
}

TEST(RemoveEntry, MissingTargetLeavesFolderExactlyAsItWas) {
  TwoBlockFolder t;
  Bytes before = readBytes(t.fx.image());
  auto dir = t.fx.open();
  EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/Z"), -1);
  EXPECT_EQ(removeEntry(dir->ds, true, true, "/nope/Z"), -1);
  EXPECT_EQ(detachEntry(dir->ds, false, "/d/Z"), -1);
  EXPECT_EQ(dir->out.str(), "");
  EXPECT_EQ(dir->err.str(),
            "The file \"Z\" was not deleted because it was not found.\n"
            "Folder or file \"nope\" not found.\n"
            "The folder \"Z\" was not deleted because it was not found.\n"
            "The entry about file \"Z\" was not deleted because it was not found.\n");
  EXPECT_EQ(readBytes(t.fx.image()), before);
}

TEST(RemoveEntry, RootAndDotEntriesAreRefusedUntouched) {
  TwoBlockFolder t;
  Bytes before = readBytes(t.fx.image());
  auto dir = t.fx.open();
  EXPECT_EQ(removeEntry(dir->ds, true, true, "/"), -1);
  EXPECT_EQ(detachEntry(dir->ds, true, "/"), -1);
  EXPECT_EQ(dir->out.str(),
            "The folder \"/\" can not be deleted.\n\n"
            "The folder \"/\" entry can not be deleted.\n");
  EXPECT_EQ(removeEntry(dir->ds, true, true, "/d/.."), -1);
  EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/."), -1);
  EXPECT_EQ(detachEntry(dir->ds, false, "/d/.."), -1);
  EXPECT_EQ(dir->err.str(),
            "The folder \"..\" can not be deleted.\n"
            "The file \".\" can not be deleted.\n"
            "The file \"..\" entry can not be deleted.\n");
  EXPECT_EQ(readBytes(t.fx.image()), before);
}

TEST(DetachEntry, MovesLastEntryAndFreesNothingOfTheObject) {
  TwoBlockFolder t;
  const std::string& image = t.fx.image();
  int16_t second = listedBlock(image, t.d, 1);
  int16_t aBlock = listedBlock(image, t.a, 0);
  Bytes aRecord = peek(image, inodeAt(t.a), 208);
  auto dir = t.fx.open();
  EXPECT_EQ(detachEntry(dir->ds, false, "/d/A"), 0);
  EXPECT_EQ(dir->out.str(), "\n");
  EXPECT_EQ(dir->err.str(), "");
  EXPECT_EQ(folderBlocks(image, t.d),
            (std::vector<std::string>{entryText(0, "..") + " " + entryText(t.d, ".") + " " +
                                      entryText(t.b, "B")}));
  EXPECT_EQ(blockMapByte(image, second), 0);  // the folder's emptied block goes back
  EXPECT_EQ(inodeMapByte(image, t.a), 1);
  EXPECT_EQ(peek(image, inodeAt(t.a), 208), aRecord);
  EXPECT_EQ(blockMapByte(image, aBlock), 1);

  EXPECT_EQ(detachEntry(dir->ds, false, "/d/B"), 0);  // the last entry: nothing to move
  EXPECT_EQ(dir->out.str(), "\n");
  EXPECT_EQ(folderBlocks(image, t.d),
            (std::vector<std::string>{entryText(0, "..") + " " + entryText(t.d, ".")}));
  EXPECT_EQ(inodeMapByte(image, t.b), 1);
}

TEST(RemoveEntry, FirstDatablockAlreadyFreeIsReportedAndRemovalGoesOn) {
  ImageFixture fx;
  auto dir = fx.open();
  createFolder(dir->ds, false, 0, "/d");
  createFile(dir->ds, false, 0, "/d/A");
  createFolder(dir->ds, false, 0, "/d/sub");
  int16_t a = inodeOf(*dir, "/d/A");
  int16_t sub = inodeOf(*dir, "/d/sub");
  int16_t aBlock = listedBlock(fx.image(), a, 0);
  int16_t subBlock = listedBlock(fx.image(), sub, 0);
  poke(fx.image(), kBlockMap + aBlock, {0});
  poke(fx.image(), kBlockMap + subBlock, {0});
  EXPECT_EQ(removeEntry(dir->ds, true, true, "/d/sub"), 0);
  EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/A"), 0);
  EXPECT_EQ(dir->err.str(),
            "This datablock is already free.\n"
            "The first datablock in list of the folder \"sub\" \n"
            "(number: " +
                std::to_string(subBlock) +
                "; contains \"..\" and \".\") was not deleted.\n"
                "This datablock is already free.\n"
                "The first datablock in list of the file \"A\" \n"
                "(number: " +
                std::to_string(aBlock) + ") was not deleted.\n");
  EXPECT_EQ(dir->out.str(), "Deleting folder: \"sub\".\nDeleting file: \"A\".\n");
  EXPECT_EQ(inodeMapByte(fx.image(), a), 0);
  EXPECT_EQ(inodeMapByte(fx.image(), sub), 0);
}

TEST(RemoveEntry, InodeAlreadyFreeFailsButKeepsTheMovedEntry) {
  TwoBlockFolder t;
  const std::string& image = t.fx.image();
  poke(image, kInodeMap + t.a, {0});
  auto dir = t.fx.open();
  EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/A"), -1);
  EXPECT_EQ(dir->err.str(),
            "This entry in file table is already empty.\n"
            "The file \"A \"was not deleted.\n");
  EXPECT_EQ(dir->out.str(), "");
  // B is still reachable: it took A's slot.
  EXPECT_EQ(folderBlocks(image, t.d),
            (std::vector<std::string>{entryText(0, "..") + " " + entryText(t.d, ".") + " " +
                                      entryText(t.b, "B")}));
  EXPECT_EQ(inodeOf(*dir, "/d/B"), t.b);

  poke(image, kInodeMap + t.b, {0});
  EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/B"), -1);
  EXPECT_EQ(dir->err.str(),
            "This entry in file table is already empty.\n"
            "The file \"A \"was not deleted.\n"
            "This entry in file table is already empty.\n"
            "The file \"B\"was not deleted.\n");
}

TEST(RemoveEntry, LastDatablockThatCannotBeFreedChangesNothing) {
  TwoBlockFolder t;
  const std::string& image = t.fx.image();
  poke(image, kBlockMap + listedBlock(image, t.d, 1), {0});
  Bytes before = readBytes(image);
  auto dir = t.fx.open();
  EXPECT_EQ(removeEntry(dir->ds, true, false, "/d/A"), -1);
  EXPECT_EQ(dir->err.str(),
            "This datablock is already free.\n"
            "The last datablock in list (which is empty now) was not deleted.\n");
  EXPECT_EQ(readBytes(image), before);
}

TEST(DeleteFile, FiveBlockFileLeavesTheImageAsBeforeItWasMade) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  {
    auto dir = fx.open(std::string(450, 'q') + "\x1b\n");
    createFile(dir->ds, false, 0, "/big");
    ASSERT_EQ(writeFile(dir->ds, "/big"), 0);
  }
  auto dir = fx.open("\n");
  int16_t big = inodeOf(*dir, "/big");
  ASSERT_EQ(blockCountOf(fx.image(), big), 5);
  std::vector<int16_t> blocks;
  for (int i = 0; i < 5; ++i) blocks.push_back(listedBlock(fx.image(), big, i));
  EXPECT_EQ(deleteFile(dir->ds, true, "/big"), 0);
  EXPECT_EQ(dir->out.str(), kFileQuestion + "Erasing the file \"big\"\nDeleting file: \"big\".\n");
  EXPECT_EQ(dir->err.str(), "");
  for (int16_t k : blocks) expectFreed(fx.image(), big, k);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(DeleteFile, EscapeOrEndOfInputAtTheQuestionChangesNothing) {
  for (const std::string answer : {"\x1b\n", ""}) {
    ImageFixture fx;
    {
      auto dir = fx.open();
      createFile(dir->ds, false, 0, "/f");
    }
    Bytes before = readBytes(fx.image());
    auto dir = fx.open(answer);
    EXPECT_EQ(deleteFile(dir->ds, true, "/f"), 0);
    EXPECT_EQ(dir->out.str(), kFileQuestion);
    EXPECT_EQ(dir->err.str(), "");
    EXPECT_EQ(readBytes(fx.image()), before);
  }
}

TEST(DeleteFile, FolderIsRefusedByTheErase) {
  TwoBlockFolder t;
  Bytes before = readBytes(t.fx.image());
  auto dir = t.fx.open();
  EXPECT_EQ(deleteFile(dir->ds, false, "/d"), -1);
  EXPECT_EQ(dir->err.str(), "\"d\" is a folder,not a file.\n");
  EXPECT_EQ(dir->out.str(), "");
  EXPECT_EQ(readBytes(t.fx.image()), before);
}

TEST(DeleteFolderTree, RefusalsBeforeAnythingIsDeleted) {
  TwoBlockFolder t;
  Bytes before = readBytes(t.fx.image());
  auto dir = t.fx.open("\x1b\n\n\n\n");
  EXPECT_EQ(deleteFolderTree(dir->ds, true, "/d"), 0);  // Escape
  EXPECT_EQ(deleteFolderTree(dir->ds, true, "/"), -1);
  EXPECT_EQ(deleteFolderTree(dir->ds, true, "/d/.."), -1);
  EXPECT_EQ(deleteFolderTree(dir->ds, false, "/d/."), -1);
  EXPECT_EQ(deleteFolderTree(dir->ds, false, "/d/A"), -1);
  EXPECT_EQ(deleteFolderTree(dir->ds, false, "/nope"), -1);
  EXPECT_EQ(dir->out.str(), kFolderQuestion + kFolderQuestion + kFolderQuestion);
  EXPECT_EQ(dir->err.str(),
            "The root folder \"/\" can not be destroyed.\n"
            "The folder \"..\" can not be deleted.\n"
            "The folder \".\" can not be deleted.\n"
            "\"A\" is a file,not a folder.\n"
            "Folder or file \"nope\" not found.\n");
  EXPECT_EQ(readBytes(t.fx.image()), before);
}

TEST(DeleteFolderTree, DepthFirstOrderAndOneClearingPerFolder) {
  // /a holds, in order, a folder b (holding a file g) and a file f.
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  auto dir = fx.open("\n");
  createFolder(dir->ds, false, 0, "/a");
  createFolder(dir->ds, false, 0, "/a/b");
  createFile(dir->ds, false, 0, "/a/b/g");
  createFile(dir->ds, false, 0, "/a/f");
  std::vector<int16_t> inodes;
  for (const char* p : {"/a", "/a/b", "/a/b/g", "/a/f"}) inodes.push_back(inodeOf(*dir, p));
  std::vector<int16_t> blocks;
  for (int16_t n : inodes)
    for (int i = 0; i < blockCountOf(fx.image(), n); ++i)
      blocks.push_back(listedBlock(fx.image(), n, i));
  EXPECT_EQ(blocks.size(), 5u);  // /a has grown a second datablock for f
  EXPECT_EQ(deleteFolderTree(dir->ds, true, "/a"), 0);
  // g leaves b silently (the last entry); b's removal moves f into b's slot (one empty line);
  // f then is /a's last entry; /a is the root's last entry.
  EXPECT_EQ(dir->out.str(), kFolderQuestion + kClear + "\n" + kClear + "Deleting folder: \"a\".\n");
  EXPECT_EQ(dir->err.str(), "");
  for (int16_t n : inodes) {
    EXPECT_EQ(inodeMapByte(fx.image(), n), 0);
    EXPECT_TRUE(allZero(peek(fx.image(), inodeAt(n), 208)));
  }
  for (int16_t k : blocks) {
    EXPECT_EQ(blockMapByte(fx.image(), k), 0);
    EXPECT_TRUE(allZero(peek(fx.image(), blockAt(k), 100)));
  }
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(DeleteFolderTree, ThreeBlockFolderIsEmptiedOneChildPerPass) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  auto dir = fx.open();
  createFolder(dir->ds, false, 0, "/m");
  for (int i = 1; i <= 7; ++i) createFile(dir->ds, false, 0, "/m/f" + std::to_string(i));
  ASSERT_EQ(blockCountOf(fx.image(), inodeOf(*dir, "/m")), 3);
  EXPECT_EQ(deleteFolderTree(dir->ds, false, "/m"), 0);
  // Each pass takes slot 2 of the first block; six times the last entry moves into it.
  EXPECT_EQ(dir->out.str(), std::string(6, '\n') + kClear);
  EXPECT_EQ(dir->err.str(), "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(DeleteFolderTree, EndsAtTheFirstChildThatCannotBeDeleted) {
  ImageFixture fx;
  auto dir = fx.open();
  createFolder(dir->ds, false, 0, "/a");
  createFile(dir->ds, false, 0, "/a/x");
  createFile(dir->ds, false, 0, "/a/y");
  int16_t a = inodeOf(*dir, "/a");
  int16_t y = inodeOf(*dir, "/a/y");
  poke(fx.image(), kInodeMap + inodeOf(*dir, "/a/x"), {0});
  EXPECT_EQ(deleteFolderTree(dir->ds, false, "/a"), -1);
  EXPECT_EQ(dir->err.str(),
            "This entry in file table is already empty.\n"
            "The file \"x \"was not deleted.\n");
  EXPECT_EQ(dir->out.str(), "");  // no clearing: /a itself is not removed
  EXPECT_EQ(inodeOf(*dir, "/a"), a);
  EXPECT_EQ(folderBlocks(fx.image(), a),
            (std::vector<std::string>{entryText(0, "..") + " " + entryText(a, ".") + " " +
                                      entryText(y, "y")}));
}

TEST(DeleteFolderTree, ChildDeeperThanEightComponentsEndsIt) {
  ImageFixture fx;
  auto dir = fx.open();
  std::string path;
  for (const char* c : {"a", "b", "c", "d", "e", "f", "g", "h"}) {
    path += std::string("/") + c;
    createFolder(dir->ds, false, 0, path);
  }
  createFile(dir->ds, false, 0, "/x");
  // An entry below the eighth level can only be made by hand.
  int16_t h = inodeOf(*dir, path);
  FolderBlock block;
  block.read(dir->ds, listedBlock(fx.image(), h, 0));
  block.addEntry(dir->ds, inodeOf(*dir, "/x"), "y");
  block.write(dir->ds);
  Bytes before = readBytes(fx.image());
  EXPECT_EQ(deleteFolderTree(dir->ds, false, "/a"), -1);
  EXPECT_EQ(dir->err.str(),
            "The maximum pathname depth can not exceed 8 levels.\n"
            "The pathname was not deshifrated.\n");
  EXPECT_EQ(dir->out.str(), "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

}  // namespace
}  // namespace fs5::test
