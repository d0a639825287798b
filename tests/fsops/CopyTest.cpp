#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fsops/Copy.h"
#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Entry = std::pair<int16_t, std::string>;

// A fresh standard image has i-nodes 0 to 19 and datablocks 0 to 25 in use; the root's last
// datablock (23) holds one entry, so the first two folders made under the root fit into it.

// The image file read once, with the records decoded from its bytes.
class ImageView {
 public:
  explicit ImageView(const std::string& image) : bytes_(readBytes(image)) {}

  bool inodeUsed(int n) const { return bytes_.at(kInodeMap + n) != 0; }
  bool blockUsed(int k) const { return bytes_.at(kBlockMap + k) != 0; }
  int16_t owner(int n) const { return field(inodeAt(n)); }
  uint16_t mode(int n) const { return static_cast<uint16_t>(field(inodeAt(n) + 2)); }
  int16_t type(int n) const { return field(inodeAt(n) + 4); }
  std::vector<int16_t> blocks(int n) const {
    std::vector<int16_t> list;
    int16_t count = field(inodeAt(n) + 206);
    for (int i = 0; i < count && i < 100; ++i) list.push_back(field(inodeAt(n) + 6 + 2 * i));
    return list;
  }
  Bytes block(int k) const {
    auto from = bytes_.begin() + blockAt(k);
    return Bytes(from, from + 100);
  }
  // The valid entries of folder n, block by block.
  std::vector<Entry> entries(int n) const {
    std::vector<Entry> list;
    for (int16_t k : blocks(n)) {
      int64_t at = blockAt(k);
      for (int i = 0; i < field(at) && i < 3; ++i) {
        auto name = bytes_.begin() + at + 4 + 32 * i;
        std::string text(name, name + 30);
        list.emplace_back(field(at + 2 + 32 * i), text.substr(0, text.find('\0')));
      }
    }
    return list;
  }
  // The i-node that an absolute path names through the entries, or -1.
  int lookup(const std::string& path) const {
    int n = 0;
    for (const std::string& part : splitPath(path)) {
      if (part.empty()) continue;
      int found = -1;
      for (const Entry& e : entries(n))
        if (e.second == part) {
          found = e.first;
          break;
        }
      if (found < 0) return -1;
      n = found;
    }
    return n;
  }
  // The content bytes of file n, all its datablocks in list order.
  Bytes content(int n) const {
    Bytes all;
    for (int16_t k : blocks(n)) {
      Bytes b = block(k);
      all.insert(all.end(), b.begin(), b.end());
    }
    return all;
  }
  int freeBlocks() const {
    int free = 0;
    for (int k = 0; k < 1000; ++k) free += blockUsed(k) ? 0 : 1;
    return free;
  }

  // What is wrong with the allocation: a datablock used but listed by no used i-node, listed
  // but free, or listed twice; a free i-node or datablock that is not all zero; a used i-node
  // that no entry names; an entry that names a free i-node.
  std::vector<std::string> problems() const {
    std::vector<std::string> found;
    std::vector<int> listed(1000, 0);
    std::set<int> named;
    for (int n = 0; n < 100; ++n) {
      if (!inodeUsed(n)) {
        for (int i = 0; i < 208; ++i)
          if (bytes_.at(inodeAt(n) + i) != 0) found.push_back("free i-node " + str(n) + " dirty");
        continue;
      }
      for (int16_t k : blocks(n)) ++listed.at(k);
      if (type(n) != TYPE_FOLDER) continue;
      for (const Entry& e : entries(n)) {
        if (e.second != "." && e.second != "..") named.insert(e.first);
        if (!inodeUsed(e.first)) found.push_back("entry " + e.second + " names a free i-node");
      }
    }
    for (int n = 1; n < 100; ++n)
      if (inodeUsed(n) && named.count(n) == 0) found.push_back("i-node " + str(n) + " unnamed");
    for (int k = 0; k < 1000; ++k) {
      if (blockUsed(k) && listed[k] == 0) found.push_back("block " + str(k) + " unlisted");
      if (!blockUsed(k) && listed[k] > 0) found.push_back("block " + str(k) + " listed, free");
      if (listed[k] > 1) found.push_back("block " + str(k) + " listed twice");
      if (!blockUsed(k) && block(k) != Bytes(100, 0)) found.push_back("free block dirty");
    }
    return found;
  }

 private:
  static std::string str(int n) { return std::to_string(n); }
  int16_t field(int64_t at) const {
    return static_cast<int16_t>(bytes_.at(at) | (bytes_.at(at + 1) << 8));
  }
  Bytes bytes_;
};

// Text of n bytes that differs from block to block.
std::string text(int n, char first = 'a') {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(first + (i * 7 + i / 100) % 26));
  return s;
}

// The bytes a file of this text holds: the text, the end mark, zeros to the block's end.
Bytes stored(const std::string& typed) {
  Bytes b(typed.begin(), typed.end());
  b.push_back(27);
  b.resize((b.size() + 99) / 100 * 100, 0);
  return b;
}

void makeFolder(ImageFixture& fx, const std::string& path, int16_t owner = 0) {
  auto d = fx.open();
  ASSERT_EQ(createFolder(d->ds, false, owner, path), 0) << d->err.str();
}

void makeFile(ImageFixture& fx, const std::string& path, int16_t owner, const std::string& typed) {
  auto d = fx.open(typed + "\x1b");
  ASSERT_EQ(createFile(d->ds, false, owner, path), 0) << d->err.str();
  ASSERT_EQ(writeFile(d->ds, path), 0) << d->err.str();
}

void setRights(ImageFixture& fx, const std::string& path, uint16_t rights) {
  auto d = fx.open();
  PathName p;
  p.parse(d->con, path);
  Inode node;
  ASSERT_GE(node.read(d->ds, resolveWhole(d->ds, false, p)), 0);
  node.setRights(rights);
  node.write(d->ds);
}

// Makes empty files /tmp/fill<i> until only `leftFree` datablocks are free; each takes an
// i-node and a datablock, and further datablocks are appended to its list.
void fillBlocks(ImageFixture& fx, int leftFree) {
  auto d = fx.open();
  for (int i = 0; ImageView(fx.image()).freeBlocks() > leftFree; ++i) {
    std::string path = "/tmp/fill" + std::to_string(i);
    ASSERT_EQ(createFile(d->ds, false, 0, path), 0) << d->err.str();
    PathName p;
    p.parse(d->con, path);
    Inode node;
    node.read(d->ds, resolveWhole(d->ds, false, p));
    int free = ImageView(fx.image()).freeBlocks();
    while (free > leftFree && node.getBlockCount() < 100) {
      node.appendBlock(allocBlock(d->ds));
      --free;
    }
    node.write(d->ds);
  }
  ASSERT_EQ(ImageView(fx.image()).freeBlocks(), leftFree);
}

// Makes empty files /tmp/node<i> until no i-node is free.
void fillInodes(ImageFixture& fx) {
  auto d = fx.open();
  for (int i = 0; !ImageView(fx.image()).inodeUsed(99); ++i)
    ASSERT_EQ(createFile(d->ds, false, 0, "/tmp/node" + std::to_string(i)), 0) << d->err.str();
}

struct CallResult {
  int16_t result;
  std::string out;
  std::string err;
  std::string rest;  // the input left after the call (shows whether it waited for a key)
};

CallResult copyFileRun(ImageFixture& fx, bool verbose, const std::string& from,
                       const std::string& to) {
  auto d = fx.open("k\nnext\n");
  CallResult r;
  r.result = copyFile(d->ds, verbose, from, to);
  r.out = d->out.str();
  r.err = d->err.str();
  d->con.readLine(r.rest);
  return r;
}

CallResult copyTreeRun(ImageFixture& fx, bool verbose, const std::string& from,
                       const std::string& to) {
  auto d = fx.open("k\nnext\n");
  CallResult r;
  r.result = copyFolderTree(d->ds, verbose, from, to);
  r.out = d->out.str();
  r.err = d->err.str();
  d->con.readLine(r.rest);
  return r;
}

TEST(CopyAttributes, TakesOwnerRightsAndKindKeepsNumberAndReservedBits) {
  ImageFixture fx;
  auto d = fx.open();
  uint8_t record[208] = {};
  record[0] = 4;  // owner 4, mode 0x1C0 (rwx------), a file
  record[2] = 0xC0;
  record[3] = 0x01;
  record[4] = 2;
  record[6] = 70;  // listing datablock 70
  record[206] = 1;
  Inode from;
  from.decode(record);
  uint8_t other[208] = {};
  other[0] = 9;  // owner 9, reserved bits 9 to 15 set and no rights, a folder of two blocks
  other[3] = 0xFE;
  other[4] = 1;
  other[6] = 40;
  other[8] = 41;
  other[206] = 2;
  Inode to;
  ASSERT_EQ(to.read(d->ds, 30), 30);
  to.decode(other);

  copyAttributes(from, to);
  EXPECT_EQ(to.getNumber(), 30);
  EXPECT_EQ(to.getOwner(), 4);
  EXPECT_EQ(to.getMode(), 0xFFC0);
  EXPECT_EQ(to.getType(), 2);
  EXPECT_EQ(to.getBlockCount(), 0);
  uint8_t encoded[208];
  to.encode(encoded);
  for (int i = 6; i < 208; ++i) EXPECT_EQ(encoded[i], 0) << "byte " << i;
}

TEST(CopyFile, IntoFolderMakesFileWithSourceOwnerRightsAndOwnBlocks) {
  ImageFixture fx;
  makeFolder(fx, "/a");                // i-node 20, datablock 26
  makeFolder(fx, "/b");                // i-node 21, datablock 27
  makeFile(fx, "/a/f", 3, text(150));  // i-node 22, datablocks 28 and 29
  setRights(fx, "/a/f", 0x1C0);

  CallResult r = copyFileRun(fx, true, "/a/f", "/b");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out, "The file \"f\" was successfully copied.\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.rest, "k");

  ImageView img(fx.image());
  EXPECT_EQ(img.entries(21), (std::vector<Entry>{{0, ".."}, {21, "."}, {23, "f"}}));
  EXPECT_EQ(img.owner(23), 3);
  EXPECT_EQ(img.mode(23), 0x1C0);
  EXPECT_EQ(img.type(23), 2);
  EXPECT_EQ(img.blocks(23), (std::vector<int16_t>{30, 31}));
  EXPECT_EQ(img.content(23), stored(text(150)));
  EXPECT_EQ(img.blocks(22), (std::vector<int16_t>{28, 29}));
  EXPECT_EQ(img.content(22), stored(text(150)));
  EXPECT_TRUE(img.inodeUsed(23));
  EXPECT_TRUE(img.blockUsed(30));
  EXPECT_TRUE(img.blockUsed(31));
  EXPECT_FALSE(img.blockUsed(32));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
  EXPECT_TRUE(checkImageProblems(fx.image()).empty());
}

TEST(CopyFile, IntoFolderWhoseLastBlockIsFullGrowsIt) {
  ImageFixture fx;
  makeFolder(fx, "/b");           // 20, 26
  makeFile(fx, "/b/x", 0, "x");   // 21, 27: /b's datablock is full
  makeFile(fx, "/f", 0, "text");  // 22, 28
  CallResult r = copyFileRun(fx, false, "/f", "/b");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.err, "");
  ImageView img(fx.image());
  // The new file's own datablock is taken before the folder's new one.
  EXPECT_EQ(img.blocks(20), (std::vector<int16_t>{26, 30}));
  EXPECT_EQ(img.entries(20), (std::vector<Entry>{{0, ".."}, {20, "."}, {21, "x"}, {23, "f"}}));
  EXPECT_EQ(img.blocks(23), (std::vector<int16_t>{29}));
  EXPECT_EQ(img.content(23), stored("text"));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, QuietCopyPrintsNothing) {
  ImageFixture fx;
  makeFolder(fx, "/b");
  makeFile(fx, "/f", 0, "x");
  CallResult r = copyFileRun(fx, false, "/f", "/b");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  ImageView img(fx.image());
  EXPECT_EQ(img.content(img.lookup("/b/f")), stored("x"));
}

TEST(CopyFile, OverFileKeepsItsFirstBlockAndFreesTheOthers) {
  ImageFixture fx;
  makeFolder(fx, "/a");                // 20, 26
  makeFolder(fx, "/b");                // 21, 27
  makeFile(fx, "/a/f", 3, text(150));  // 22: 28, 29
  setRights(fx, "/a/f", 0x1F0);
  makeFile(fx, "/b/g", 0, text(250, 'k'));  // 23: 30, 31, 32

  CallResult r = copyFileRun(fx, true, "/a/f", "/b/g");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out, "The file \"f\" was successfully copied.\n");
  EXPECT_EQ(r.err, "");

  ImageView img(fx.image());
  EXPECT_EQ(img.entries(21), (std::vector<Entry>{{0, ".."}, {21, "."}, {23, "g"}}));
  EXPECT_EQ(img.blocks(23), (std::vector<int16_t>{30, 31}));
  EXPECT_EQ(img.content(23), stored(text(150)));
  EXPECT_EQ(img.owner(23), 3);
  EXPECT_EQ(img.mode(23), 0x1F0);
  EXPECT_EQ(img.type(23), 2);
  EXPECT_FALSE(img.blockUsed(32));
  EXPECT_EQ(img.block(32), Bytes(100, 0));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, LongerSourceOverShortFileTakesFurtherBlocksFirstFit) {
  ImageFixture fx;
  makeFile(fx, "/g", 0, "old");      // 20: 26
  makeFile(fx, "/f", 5, text(320));  // 21: 27, 28, 29, 30
  CallResult r = copyFileRun(fx, false, "/f", "/g");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.err, "");
  ImageView img(fx.image());
  EXPECT_EQ(img.blocks(20), (std::vector<int16_t>{26, 31, 32, 33}));
  EXPECT_EQ(img.content(20), stored(text(320)));
  EXPECT_EQ(img.owner(20), 5);
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, EmptyFileGivesOneZeroedBlock) {
  ImageFixture fx;
  makeFile(fx, "/g", 0, text(120));  // 20: 26, 27
  {
    auto d = fx.open();
    ASSERT_EQ(createFile(d->ds, false, 2, "/e"), 0);  // 21: 28, never written
  }
  CallResult r = copyFileRun(fx, false, "/e", "/g");
  EXPECT_EQ(r.result, 0);
  ImageView img(fx.image());
  EXPECT_EQ(img.blocks(20), (std::vector<int16_t>{26}));
  EXPECT_EQ(img.block(26), Bytes(100, 0));
  EXPECT_EQ(img.mode(20), 0x1A4);
  EXPECT_EQ(img.owner(20), 2);
  EXPECT_FALSE(img.blockUsed(27));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, FolderHoldingFileOfSourceNameHasItReplaced) {
  ImageFixture fx;
  makeFolder(fx, "/b");                     // 20, 26
  makeFile(fx, "/b/f", 7, text(220, 'q'));  // 21: 27, 28, 29
  makeFile(fx, "/f", 1, "new text");        // 22: 30
  CallResult r = copyFileRun(fx, true, "/f", "/b");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out, "The file \"f\" was successfully copied.\n");
  EXPECT_EQ(r.err, "");
  ImageView img(fx.image());
  EXPECT_EQ(img.entries(20), (std::vector<Entry>{{0, ".."}, {20, "."}, {21, "f"}}));
  EXPECT_EQ(img.blocks(21), (std::vector<int16_t>{27}));
  EXPECT_EQ(img.content(21), stored("new text"));
  EXPECT_EQ(img.owner(21), 1);
  EXPECT_FALSE(img.inodeUsed(23));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, FolderHoldingFolderOfSourceNameRefused) {
  ImageFixture fx;
  makeFolder(fx, "/b");
  makeFolder(fx, "/b/f");
  makeFile(fx, "/f", 0, "text");
  Bytes before = readBytes(fx.image());
  CallResult r = copyFileRun(fx, true, "/f", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "The folder or file \"f\" already exists.\n");
  EXPECT_EQ(r.rest, "k");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, OntoItselfRefusedDirectlyAndThroughItsFolder) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFile(fx, "/a/f", 0, text(130));
  Bytes before = readBytes(fx.image());
  for (const char* to : {"/a/f", "/a/../a/f", "/a", "/a/."}) {
    CallResult r = copyFileRun(fx, true, "/a/f", to);
    EXPECT_EQ(r.result, -1) << to;
    EXPECT_EQ(r.out, "") << to;
    EXPECT_EQ(r.err, "You can not copy a file onto itself.\n") << to;
    EXPECT_EQ(r.rest, "k") << to;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, RootSourceRefusedWithoutWaiting) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  CallResult r = copyFileRun(fx, true, "/", "/tmp");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "The source of copying is the root folder \"/\", not a file.\n");
  EXPECT_EQ(r.rest, "k");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, SourceThatIsNoFileRefusedAfterOneKey) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  CallResult folder = copyFileRun(fx, true, "/etc", "/tmp");
  EXPECT_EQ(folder.result, -1);
  EXPECT_EQ(folder.out, "");
  EXPECT_EQ(folder.err, "The source of copying is not a file.\n");
  EXPECT_EQ(folder.rest, "next");
  CallResult missing = copyFileRun(fx, true, "/nosuch/f", "/tmp");
  EXPECT_EQ(missing.result, -1);
  EXPECT_EQ(missing.err,
            "Folder or file \"nosuch\" not found.\nThe source of copying is not a file.\n");
  EXPECT_EQ(missing.rest, "next");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, MissingDestinationRefusedAfterOneKey) {
  ImageFixture fx;
  makeFile(fx, "/f", 0, "text");
  Bytes before = readBytes(fx.image());
  CallResult r = copyFileRun(fx, true, "/f", "/nosuch");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "Folder or file \"nosuch\" not found.\n"
            "The destination of copying is neither a folder nor a file.\n");
  EXPECT_EQ(r.rest, "next");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, FolderOfEightComponentsRefusedWithDepthLines) {
  ImageFixture fx;
  std::string deep;
  for (int i = 1; i <= 8; ++i) {
    deep += "/d" + std::to_string(i);
    makeFolder(fx, deep);
  }
  makeFile(fx, "/f", 0, "text");
  Bytes before = readBytes(fx.image());
  CallResult r = copyFileRun(fx, true, "/f", deep);
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "The maximum pathname depth can not exceed 8 levels.\n"
            "The pathname was not deshifrated.\n");
  EXPECT_EQ(r.rest, "k");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, FailedCreationEndsRightAfterItsLines) {
  ImageFixture fx;
  makeFolder(fx, "/b");
  makeFile(fx, "/f", 0, "text");
  fillInodes(fx);
  Bytes before = readBytes(fx.image());
  CallResult r = copyFileRun(fx, true, "/f", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "There are no free i-node blocks.\nCan not create file \"f\".\n");
  EXPECT_EQ(r.rest, "k");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, NoDatablockForTheNewFileEndsRightAfterItsLines) {
  ImageFixture fx;
  makeFolder(fx, "/b");
  makeFile(fx, "/f", 0, "text");
  fillBlocks(fx, 0);
  Bytes before = readBytes(fx.image());
  CallResult r = copyFileRun(fx, true, "/f", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.err, "There are no free datablocks.\nCan not create file \"f\".\n");
  EXPECT_EQ(r.rest, "k");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFile, DiskFullMidwayLeavesNewFileErasedAndGivesBlocksBack) {
  ImageFixture fx;
  makeFolder(fx, "/b");
  makeFile(fx, "/a", 4, text(450));  // five datablocks
  setRights(fx, "/a", 0x1C0);
  fillBlocks(fx, 3);  // the new file takes one, the copy two of the four it needs
  ImageView full(fx.image());
  std::vector<int> freeBefore;
  for (int k = 0; k < 1000; ++k)
    if (!full.blockUsed(k)) freeBefore.push_back(k);
  ASSERT_EQ(freeBefore.size(), 3u);

  CallResult r = copyFileRun(fx, true, "/a", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "There are no free datablocks.\n");
  EXPECT_EQ(r.rest, "k");

  ImageView img(fx.image());
  int copy = img.lookup("/b/a");
  ASSERT_GE(copy, 0);
  EXPECT_EQ(img.blocks(copy), (std::vector<int16_t>{static_cast<int16_t>(freeBefore[0])}));
  EXPECT_EQ(img.block(freeBefore[0]), Bytes(100, 0));
  EXPECT_EQ(img.owner(copy), 4);
  EXPECT_EQ(img.mode(copy), 0x1A4);
  EXPECT_EQ(img.type(copy), 2);
  EXPECT_FALSE(img.blockUsed(freeBefore[1]));
  EXPECT_FALSE(img.blockUsed(freeBefore[2]));
  EXPECT_EQ(img.freeBlocks(), 2);
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, DiskFullMidwayLeavesDestinationErasedWithItsOwnAttributes) {
  ImageFixture fx;
  makeFile(fx, "/g", 7, text(250));  // i-node 20, three datablocks
  setRights(fx, "/g", 0x1B6);
  makeFile(fx, "/a", 4, text(450));  // five datablocks
  fillBlocks(fx, 1);                 // with the two the erase frees, three of the four needed
  CallResult r = copyFileRun(fx, true, "/a", "/g");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "There are no free datablocks.\n");

  ImageView img(fx.image());
  EXPECT_EQ(img.blocks(20), (std::vector<int16_t>{26}));
  EXPECT_EQ(img.block(26), Bytes(100, 0));
  EXPECT_EQ(img.owner(20), 7);
  EXPECT_EQ(img.mode(20), 0x1B6);
  EXPECT_EQ(img.type(20), 2);
  EXPECT_EQ(img.freeBlocks(), 3);
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFile, ExactlyEnoughBlocksSucceeds) {
  ImageFixture fx;
  makeFolder(fx, "/b");
  makeFile(fx, "/a", 0, text(450));
  fillBlocks(fx, 5);
  CallResult r = copyFileRun(fx, false, "/a", "/b");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.err, "");
  ImageView img(fx.image());
  EXPECT_EQ(img.content(img.lookup("/b/a")), stored(text(450)));
  EXPECT_EQ(img.freeBlocks(), 0);
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFolderTree, CopiesDepthFirstWithOwnersRightsAndNewParents) {
  ImageFixture fx;
  makeFolder(fx, "/b");                       // 20, 26
  makeFolder(fx, "/a", 6);                    // 21, 27
  makeFolder(fx, "/a/c2", 2);                 // 22, 28
  makeFile(fx, "/a/c2/g", 2, text(40, 'g'));  // 23: 29
  makeFile(fx, "/a/f", 2, text(150, 'f'));    // 24: 30, 32 (a grows: 31)
  makeFolder(fx, "/a/c", 3);                  // 25, 33
  makeFile(fx, "/a/h", 0, "h");               // 26: 34
  makeFile(fx, "/a/i", 0, "i");               // 27: 35 (a grows: 36)
  setRights(fx, "/a", 0x1F8);
  setRights(fx, "/a/f", 0x1C0);
  setRights(fx, "/a/c", 0x140);
  setRights(fx, "/a/c2", 0x1E0);
  setRights(fx, "/a/c2/g", 0x100);
  ImageView src(fx.image());
  ASSERT_EQ(src.blocks(21), (std::vector<int16_t>{27, 31, 36}));

  CallResult r = copyTreeRun(fx, true, "/a", "/b");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out, "The folder \"a\" was successfully copied.\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.rest, "k");

  ImageView img(fx.image());
  EXPECT_EQ(img.entries(20), (std::vector<Entry>{{0, ".."}, {20, "."}, {28, "a"}}));
  // The new folder, then c2 and everything in it, then the other children in folder order.
  EXPECT_EQ(img.entries(28),
            (std::vector<Entry>{
                {20, ".."}, {28, "."}, {29, "c2"}, {31, "f"}, {32, "c"}, {33, "h"}, {34, "i"}}));
  EXPECT_EQ(img.blocks(28).size(), 3u);
  EXPECT_EQ(img.entries(29), (std::vector<Entry>{{28, ".."}, {29, "."}, {30, "g"}}));
  EXPECT_EQ(img.entries(32), (std::vector<Entry>{{28, ".."}, {32, "."}}));
  struct Expected {
    int inode;
    int16_t owner;
    uint16_t mode;
    int16_t type;
  };
  for (Expected e :
       {Expected{28, 6, 0x1F8, 1}, Expected{29, 2, 0x1E0, 1}, Expected{30, 2, 0x100, 2},
        Expected{31, 2, 0x1C0, 2}, Expected{32, 3, 0x140, 1}, Expected{33, 0, 0x1A4, 2},
        Expected{34, 0, 0x1A4, 2}}) {
    EXPECT_EQ(img.owner(e.inode), e.owner) << e.inode;
    EXPECT_EQ(img.mode(e.inode), e.mode) << e.inode;
    EXPECT_EQ(img.type(e.inode), e.type) << e.inode;
  }
  EXPECT_EQ(img.content(30), stored(text(40, 'g')));
  EXPECT_EQ(img.content(31), stored(text(150, 'f')));
  EXPECT_EQ(img.content(33), stored("h"));
  // The source is untouched.
  EXPECT_EQ(img.entries(21), src.entries(21));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
  EXPECT_TRUE(checkImageProblems(fx.image()).empty());
}

TEST(CopyFolderTree, EmptyFolderGivesFolderOfDotEntriesOnly) {
  ImageFixture fx;
  makeFolder(fx, "/e", 4);  // 20
  CallResult r = copyTreeRun(fx, true, "/e", "/tmp");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.out, "The folder \"e\" was successfully copied.\n");
  EXPECT_EQ(r.err, "");
  ImageView img(fx.image());
  int copy = img.lookup("/tmp/e");
  EXPECT_EQ(copy, 21);
  EXPECT_EQ(img.entries(21), (std::vector<Entry>{{15, ".."}, {21, "."}}));
  EXPECT_EQ(img.owner(21), 4);
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFolderTree, SourceOrDestinationNotAFolderRefusedAfterOneKey) {
  ImageFixture fx;
  makeFile(fx, "/f", 0, "text");
  Bytes before = readBytes(fx.image());
  CallResult file = copyTreeRun(fx, true, "/f", "/tmp");
  EXPECT_EQ(file.result, -1);
  EXPECT_EQ(file.out, "");
  EXPECT_EQ(file.err, "The source of copying is not a folder.\n");
  EXPECT_EQ(file.rest, "next");
  CallResult missing = copyTreeRun(fx, true, "/nosuch", "/tmp");
  EXPECT_EQ(missing.err,
            "Folder or file \"nosuch\" not found.\nThe source of copying is not a folder.\n");
  EXPECT_EQ(missing.rest, "next");
  CallResult into = copyTreeRun(fx, true, "/tmp", "/f");
  EXPECT_EQ(into.result, -1);
  EXPECT_EQ(into.err, "The destination of copying is not a folder.\n");
  EXPECT_EQ(into.rest, "next");
  CallResult nowhere = copyTreeRun(fx, true, "/tmp", "/nosuch");
  EXPECT_EQ(nowhere.err,
            "Folder or file \"nosuch\" not found.\n"
            "The destination of copying is not a folder.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFolderTree, DestinationInsideSourceRefused) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFolder(fx, "/a/c");
  makeFolder(fx, "/a/c/d");
  Bytes before = readBytes(fx.image());
  for (auto [from, to] : std::vector<std::pair<std::string, std::string>>{{"/a", "/a"},
                                                                          {"/a", "/a/c"},
                                                                          {"/a", "/a/c/d"},
                                                                          {"/a/c", "/a/c/d/.."},
                                                                          {"/", "/tmp"},
                                                                          {"/", "/"}}) {
    CallResult r = copyTreeRun(fx, true, from, to);
    EXPECT_EQ(r.result, -1) << from << " " << to;
    EXPECT_EQ(r.out, "") << from << " " << to;
    EXPECT_EQ(r.err, "The destination of copying is inside the source folder.\n") << to;
    EXPECT_EQ(r.rest, "k") << from << " " << to;
  }
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFolderTree, DestinationHoldingSourceNameRefused) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFile(fx, "/a/f", 0, "text");
  makeFolder(fx, "/b");
  makeFile(fx, "/b/a", 0, "other");
  Bytes before = readBytes(fx.image());
  CallResult r = copyTreeRun(fx, true, "/a", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "The folder or file \"a\" already exists.\n");
  EXPECT_EQ(r.rest, "k");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(CopyFolderTree, DiskFullMidwayReportsIncompleteCopy) {
  ImageFixture fx;
  makeFolder(fx, "/a", 1);
  makeFile(fx, "/a/f", 1, text(450));  // five datablocks
  makeFile(fx, "/a/g", 1, "small");
  makeFolder(fx, "/b");
  // The new folder takes one, f's copy its first and two of the four more it needs; after
  // they are given back, g's copy takes one and the new folder grows by the last.
  fillBlocks(fx, 4);

  CallResult r = copyTreeRun(fx, true, "/a", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "There are no free datablocks.\n"
            "The folder \"a\" was not copied completely.\n");
  EXPECT_EQ(r.rest, "k");

  ImageView img(fx.image());
  int f = img.lookup("/b/a/f");
  int g = img.lookup("/b/a/g");
  ASSERT_GE(f, 0);
  ASSERT_GE(g, 0);
  EXPECT_EQ(img.blocks(f).size(), 1u);
  EXPECT_EQ(img.block(img.blocks(f)[0]), Bytes(100, 0));
  EXPECT_EQ(img.content(g), stored("small"));
  EXPECT_EQ(img.freeBlocks(), 0);
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

TEST(CopyFolderTree, QuietIncompleteCopyOnlyReturnsFailure) {
  ImageFixture fx;
  makeFolder(fx, "/a");
  makeFile(fx, "/a/f", 0, text(150));
  makeFolder(fx, "/b");
  fillBlocks(fx, 2);
  CallResult r = copyTreeRun(fx, false, "/a", "/b");
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "There are no free datablocks.\n");
  EXPECT_EQ(ImageView(fx.image()).problems(), std::vector<std::string>{});
}

TEST(CopyFolderTree, ChildrenTooDeepAreSkippedAndTheWalkGoesOn) {
  ImageFixture fx;
  std::string deep;
  for (int i = 1; i <= 6; ++i) {
    deep += "/d" + std::to_string(i);
    makeFolder(fx, deep);
  }
  makeFolder(fx, "/a");
  makeFolder(fx, "/a/c");
  makeFolder(fx, "/a/c/e");
  makeFile(fx, "/a/c/f", 0, "deep");
  makeFile(fx, "/a/h", 0, "shallow");

  CallResult r = copyTreeRun(fx, true, "/a", deep);
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.out, "");
  const std::string depthLines =
      "The maximum pathname depth can not exceed 8 levels.\n"
      "The pathname was not deshifrated.\n";
  EXPECT_EQ(r.err, depthLines + depthLines + "The folder \"a\" was not copied completely.\n");

  ImageView img(fx.image());
  int c = img.lookup(deep + "/a/c");
  ASSERT_GE(c, 0);
  EXPECT_EQ(img.entries(c).size(), 2u);
  EXPECT_EQ(img.content(img.lookup(deep + "/a/h")), stored("shallow"));
  EXPECT_EQ(img.problems(), std::vector<std::string>{});
}

}  // namespace
}  // namespace fs5::test
