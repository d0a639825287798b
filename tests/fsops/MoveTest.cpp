#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Move.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "storage/AllocMaps.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Direct = ImageFixture::Direct;
using Names = std::vector<std::string>;

// A fresh standard image has i-nodes 0 to 19 and datablocks 0 to 25 in use; the root's last
// datablock (23) holds one entry, so the first two folders made under the root fit into it.

bool allZero(const Bytes& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

int16_t field(const Bytes& image, int64_t at) {
  return static_cast<int16_t>(image.at(at) | (image.at(at + 1) << 8));
}

// The regions whose bytes differ between two images: "inode map <n>", "block map <k>",
// "inode <n>" and "block <k>"; anything else as "other <offset>".
Names changes(const Bytes& before, const Bytes& after) {
  Names found;
  for (int n = 0; n < 100; ++n)
    if (before.at(kInodeMap + n) != after.at(kInodeMap + n))
      found.push_back("inode map " + std::to_string(n));
  for (int k = 0; k < 1000; ++k)
    if (before.at(kBlockMap + k) != after.at(kBlockMap + k))
      found.push_back("block map " + std::to_string(k));
  auto differs = [&](int64_t from, int64_t size) {
    return !std::equal(before.begin() + from, before.begin() + from + size, after.begin() + from);
  };
  for (int n = 0; n < 100; ++n)
    if (differs(inodeAt(n), 208)) found.push_back("inode " + std::to_string(n));
  for (int k = 0; k < 1000; ++k)
    if (differs(blockAt(k), 100)) found.push_back("block " + std::to_string(k));
  if (differs(0, kInodeMap) || differs(kUserMap, kInodeTable - kUserMap)) found.push_back("other");
  return found;
}

// Folder n's datablocks as the image holds them: per block its valid slots as
// "<inode>:<name>", and "<dirty slot>" for a slot past the count that is not all zero.
Names folderBlocks(const Bytes& image, int n) {
  Names blocks;
  for (int i = 0; i < field(image, inodeAt(n) + 206); ++i) {
    int64_t at = blockAt(field(image, inodeAt(n) + 6 + 2 * i));
    std::string text;
    for (int s = 0; s < 3; ++s) {
      int64_t slot = at + 2 + 32 * s;
      if (s >= field(image, at)) {
        if (!allZero(Bytes(image.begin() + slot, image.begin() + slot + 32)))
          text += " <dirty slot>";
        continue;
      }
      std::string name(image.begin() + slot + 2, image.begin() + slot + 32);
      text += (s ? " " : "") + std::to_string(field(image, slot)) + ":" +
              name.substr(0, name.find('\0'));
    }
    blocks.push_back(text);
  }
  return blocks;
}

std::vector<int16_t> blockList(const Bytes& image, int n) {
  std::vector<int16_t> list;
  for (int i = 0; i < field(image, inodeAt(n) + 206); ++i)
    list.push_back(field(image, inodeAt(n) + 6 + 2 * i));
  return list;
}

// Checks that the datablocks are free in their map and all zero.
void expectBlocksFreed(const Bytes& image, const std::vector<int>& blocks) {
  for (int k : blocks) {
    EXPECT_EQ(image.at(kBlockMap + k), 0) << "datablock " << k;
    EXPECT_TRUE(allZero(Bytes(image.begin() + blockAt(k), image.begin() + blockAt(k) + 100)))
        << "datablock " << k;
  }
}

// Checks that i-node n is free in its map and all zero.
void expectInodeFreed(const Bytes& image, int n) {
  EXPECT_EQ(image.at(kInodeMap + n), 0) << "i-node " << n;
  EXPECT_TRUE(allZero(Bytes(image.begin() + inodeAt(n), image.begin() + inodeAt(n) + 208)))
      << "i-node " << n;
}

void makeFolder(ImageFixture& fx, const std::string& path) {
  auto d = fx.open();
  ASSERT_EQ(createFolder(d->ds, false, 0, path), 0) << d->err.str();
}

void makeFile(ImageFixture& fx, const std::string& path, const std::string& typed = "") {
  auto d = fx.open(typed + "\x1b");
  ASSERT_EQ(createFile(d->ds, false, 0, path), 0) << d->err.str();
  if (typed.empty()) return;
  ASSERT_EQ(writeFile(d->ds, path), 0) << d->err.str();
}

// Makes empty files /tmp/fill<i> and lists datablocks in them until none is free.
void fillBlocks(ImageFixture& fx) {
  auto freeBlocks = [&fx] {
    Bytes map = peek(fx.image(), kBlockMap, 1000);
    return std::count(map.begin(), map.end(), 0);
  };
  auto d = fx.open();
  for (int i = 0; freeBlocks() > 0; ++i) {
    std::string path = "/tmp/fill" + std::to_string(i);
    ASSERT_EQ(createFile(d->ds, false, 0, path), 0) << d->err.str();
    PathName p;
    p.parse(d->con, path);
    Inode node;
    node.read(d->ds, resolveWhole(d->ds, false, p));
    for (auto free = freeBlocks(); node.getBlockCount() < 100 && free > 0; --free)
      node.appendBlock(allocBlock(d->ds));
    node.write(d->ds);
  }
  EXPECT_EQ(d->err.str(), "");
}

// One move on a direct stream, with the console's streams kept for the checks.
struct Moved {
  int16_t result;
  std::string out;
  std::string err;
};

Moved move(ImageFixture& fx, const std::string& source, const std::string& destination) {
  auto d = fx.open("\n");
  int16_t result = moveFile(d->ds, source, destination);
  return {result, d->out.str(), d->err.str()};
}

// /a (i-node 20, datablock 26), /b (21, 27) and the file /a/f (22, 28) holding "hello".
void makeAB(ImageFixture& fx) {
  makeFolder(fx, "/a");
  makeFolder(fx, "/b");
  makeFile(fx, "/a/f", "hello");
}

TEST(MoveFile, IntoAFolderUnderItsOwnNameChangesOnlyTheTwoFolders) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/b");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully moved.\n");
  EXPECT_EQ(m.out, "");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(changes(before, after), (Names{"block 26", "block 27"}));
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:."}));
  EXPECT_EQ(folderBlocks(after, 21), (Names{"0:.. 21:. 22:f"}));
  expectSoundImage(fx.image());
}

TEST(MoveFile, ToANewNameInAnotherFolderKeepsTheInode) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/b/g");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully renamed and moved.\n");
  EXPECT_EQ(m.out, "");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(changes(before, after), (Names{"block 26", "block 27"}));
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:."}));
  EXPECT_EQ(folderBlocks(after, 21), (Names{"0:.. 21:. 22:g"}));
  expectSoundImage(fx.image());
}

TEST(MoveFile, RenameInPlaceLeavesTheNewNameInTheOldSlot) {
  ImageFixture fx;
  makeFolder(fx, "/a");  // 20, 26
  makeFile(fx, "/a/f");  // 21, 27
  makeFile(fx, "/a/x");  // 22, 28; /a grows by 29
  makeFile(fx, "/a/y");  // 23, 30
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/a/g");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully renamed and moved.\n");
  EXPECT_EQ(m.out, "\n");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(changes(before, after), (Names{"block 26"}));
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:. 21:g", "22:x 23:y"}));
  expectSoundImage(fx.image());
}

TEST(MoveFile, RenameInPlaceInAFullFolderGivesTheGrownBlockBack) {
  ImageFixture fx;
  makeFolder(fx, "/a");  // 20, 26
  makeFile(fx, "/a/f");  // 21, 27
  makeFile(fx, "/a/x");  // 22, 28; /a grows by 29
  makeFile(fx, "/a/y");  // 23, 30
  makeFile(fx, "/a/z");  // 24, 31: /a's last block is full
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/a/g");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully renamed and moved.\n");
  Bytes after = readBytes(fx.image());
  // The entry g went to a new datablock 32, which left again when g took f's slot.
  EXPECT_EQ(changes(before, after), (Names{"block 26"}));
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:. 21:g", "22:x 23:y 24:z"}));
  expectSoundImage(fx.image());
}

TEST(MoveFile, FoldersGrowAndShrinkByADatablock) {
  ImageFixture fx;
  makeFolder(fx, "/a");  // 20, 26
  makeFolder(fx, "/b");  // 21, 27
  makeFile(fx, "/a/y");  // 22, 28
  makeFile(fx, "/b/x");  // 23, 29: /b's only block is full
  makeFile(fx, "/a/f");  // 24, 30; /a grows by 31, which holds only f
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/b");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully moved.\n");
  EXPECT_EQ(m.out, "");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:. 22:y"}));
  EXPECT_EQ(folderBlocks(after, 21), (Names{"0:.. 21:. 23:x", "24:f"}));
  EXPECT_EQ(blockList(after, 21), (std::vector<int16_t>{27, 32}));
  EXPECT_EQ(blockList(after, 20), (std::vector<int16_t>{26}));
  EXPECT_EQ(blockList(after, 24), (std::vector<int16_t>{30}));
  EXPECT_EQ(changes(before, after), (Names{"block map 31", "block map 32", "inode 20", "inode 21",
                                           "block 31", "block 32"}));
  expectBlocksFreed(after, {31});
  expectSoundImage(fx.image());
}

TEST(MoveFile, AnEntryThatWasNotLastIsReplacedByTheLastOne) {
  ImageFixture fx;
  makeFolder(fx, "/a");  // 20, 26
  makeFolder(fx, "/b");  // 21, 27
  makeFile(fx, "/a/f");  // 22, 28
  makeFile(fx, "/a/x");  // 23, 29; /a grows by 30, which holds only x
  Moved m = move(fx, "/a/f", "/b");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully moved.\n");
  EXPECT_EQ(m.out, "\n");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:. 23:x"}));
  EXPECT_EQ(folderBlocks(after, 21), (Names{"0:.. 21:. 22:f"}));
  EXPECT_EQ(blockList(after, 20), (std::vector<int16_t>{26}));
  expectBlocksFreed(after, {30});
  expectSoundImage(fx.image());
}

TEST(MoveFile, AnExistingFileIsReplacedAndFreed) {
  ImageFixture fx;
  makeAB(fx);
  makeFile(fx, "/b/h", std::string(250, 'h'));  // 23: 29, 30, 31
  ASSERT_EQ(blockList(readBytes(fx.image()), 23), (std::vector<int16_t>{29, 30, 31}));
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/b/h");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully moved.\n");
  EXPECT_EQ(m.out, "");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:."}));
  EXPECT_EQ(folderBlocks(after, 21), (Names{"0:.. 21:. 22:f"}));
  expectInodeFreed(after, 23);
  expectBlocksFreed(after, {29, 30, 31});
  EXPECT_EQ(changes(before, after),
            (Names{"inode map 23", "block map 29", "block map 30", "block map 31", "inode 23",
                   "block 26", "block 27", "block 29", "block 30", "block 31"}));
  expectSoundImage(fx.image());
}

TEST(MoveFile, OverAnotherFileOfItsOwnFolderOnlyDeletesThatFile) {
  ImageFixture fx;
  makeFolder(fx, "/a");          // 20, 26
  makeFile(fx, "/a/f", "mine");  // 21, 27
  makeFile(fx, "/a/h", "old");   // 22, 28
  Moved m = move(fx, "/a/f", "/a/h");
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully moved.\n");
  Bytes after = readBytes(fx.image());
  EXPECT_EQ(folderBlocks(after, 20), (Names{"0:.. 20:. 21:f"}));
  expectInodeFreed(after, 22);
  expectBlocksFreed(after, {28});
  expectSoundImage(fx.image());
}

TEST(MoveFile, OntoItselfIsRefusedByInodeWhateverThePath) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  for (std::string destination : {"/a/f", "/a/./f", "/b/../a/f"}) {
    Moved m = move(fx, "/a/f", destination);
    EXPECT_EQ(m.result, -1) << destination;
    EXPECT_EQ(m.err, "You can not move a file onto itself.\n") << destination;
    EXPECT_EQ(m.out, "") << destination;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, ItsOwnFolderByAnyPathChangesNothing) {
  ImageFixture fx;
  makeAB(fx);
  makeFolder(fx, "/a/c");
  makeFile(fx, "/a/x");  // /a's last block is full
  Bytes before = readBytes(fx.image());
  for (std::string destination : {"/a", "/a/.", "/a/c/..", "/b/../a"}) {
    Moved m = move(fx, "/a/f", destination);
    EXPECT_EQ(m.result, 0) << destination;
    EXPECT_EQ(m.err, "The file \"f\" was successfully moved.\n") << destination;
    EXPECT_EQ(m.out, "") << destination;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, AFolderPartThatIsAFileFailsAndDeletesNothing) {
  ImageFixture fx;
  makeAB(fx);
  makeFile(fx, "/b/h", "keep");
  Bytes before = readBytes(fx.image());
  for (std::string destination : {"/a/f/g", "/b/h/g"}) {
    Moved m = move(fx, "/a/f", destination);
    EXPECT_EQ(m.result, -1) << destination;
    EXPECT_EQ(m.err, "The moving of the file failed.\n") << destination;
    EXPECT_EQ(m.out, "Press Enter to continue.\n") << destination;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, MissingFolderPartIsNamedThenTheMoveFails) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/nosuch/g");
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.err, "Folder or file \"nosuch\" not found.\nThe moving of the file failed.\n");
  EXPECT_EQ(m.out, "Press Enter to continue.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, AnotherEntryOfTheNewNameIsRefusedBeforeAnythingChanges) {
  ImageFixture fx;
  makeAB(fx);
  makeFile(fx, "/b/f", "other");
  makeFile(fx, "/b/h", "kept");
  makeFolder(fx, "/c");
  makeFolder(fx, "/c/f");
  Bytes before = readBytes(fx.image());
  for (std::string destination : {"/b", "/b/h", "/c"}) {
    Moved m = move(fx, "/a/f", destination);
    EXPECT_EQ(m.result, -1) << destination;
    EXPECT_EQ(m.err, "The folder or file \"f\" already exists.\n") << destination;
    EXPECT_EQ(m.out, "") << destination;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, NewNameOverThirtyCharactersChangesNothing) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/b/" + std::string(31, 'n'));
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.err, "Foldername (filename) can not exceed 30 symbols.\n");
  EXPECT_EQ(m.out, "");
  EXPECT_EQ(readBytes(fx.image()), before);

  m = move(fx, "/a/f", "/b/" + std::string(30, 'n'));
  EXPECT_EQ(m.result, 0);
  EXPECT_EQ(m.err, "The file \"f\" was successfully renamed and moved.\n");
  EXPECT_EQ(folderBlocks(readBytes(fx.image()), 21),
            (Names{"0:.. 21:. 22:" + std::string(30, 'n')}));
  expectSoundImage(fx.image());
}

TEST(MoveFile, NoDatablockForTheFolderToGrowChangesNothing) {
  ImageFixture fx;
  makeAB(fx);
  makeFile(fx, "/b/x");
  fillBlocks(fx);
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/a/f", "/b");
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.err, "There are no free datablocks.\nCan not create daughter file\"f\".\n");
  EXPECT_EQ(m.out, "");
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, SourcesThatAreNotFilesAreRefused) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  Moved m = move(fx, "/", "/b");
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.err, "The source of moving is the root folder \"/\", not a file.\n");
  m = move(fx, "/a", "/b");
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.err, "The source of moving is not a file.\n");
  m = move(fx, "/a/nosuch", "/b");
  EXPECT_EQ(m.result, -1);
  EXPECT_EQ(m.err, "Folder or file \"nosuch\" not found.\nThe source of moving is not a file.\n");
  EXPECT_EQ(m.out, "");
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, AnEmptyDestinationNameIsNotAnything) {
  ImageFixture fx;
  makeAB(fx);
  Bytes before = readBytes(fx.image());
  for (std::string destination : {"/b/", ""}) {
    Moved m = move(fx, "/a/f", destination);
    EXPECT_EQ(m.result, -1) << destination;
    EXPECT_EQ(m.err, "The destination of moving is not anything.\n") << destination;
    EXPECT_EQ(m.out, "") << destination;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
  expectSoundImage(fx.image());
}

TEST(MoveFile, RefusalsWaitForOneKeyWithoutAPrompt) {
  ImageFixture fx;
  makeAB(fx);
  auto d = fx.open("12345\n");
  EXPECT_EQ(moveFile(d->ds, "/", "/b"), -1);
  EXPECT_EQ(moveFile(d->ds, "/a", "/b"), -1);
  EXPECT_EQ(moveFile(d->ds, "/a/f", "/a/f"), -1);
  EXPECT_EQ(moveFile(d->ds, "/a/f", "/b/"), -1);
  EXPECT_EQ(moveFile(d->ds, "/a/f", "/nosuch/g"), -1);
  // Each took one key of its line; the key read next is the one after the fifth line.
  EXPECT_EQ(d->con.readKey(), '\n');
  EXPECT_EQ(d->con.readKey(), END_OF_INPUT);
  EXPECT_EQ(d->out.str(), "Press Enter to continue.\n");
  expectSoundImage(fx.image());
}

}  // namespace
}  // namespace fs5::test
