#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

class Create : public ::testing::Test {
 protected:
  ImageFixture fx;
  std::unique_ptr<ImageFixture::Direct> io = fx.open();
  std::string err() {
    std::string s = io->err.str();
    io->err.str("");
    return s;
  }
  int16_t find(const std::string& text) {
    PathName p;
    p.parse(io->con, text);
    return resolveWhole(io->ds, false, p);
  }
};

TEST_F(Create, FolderGetsDotEntriesDefaultRightsAndOneBlock) {
  ASSERT_EQ(createFolder(io->ds, true, 3, "/tmp/docs"), 0);
  EXPECT_EQ(io->out.str(), "The folder \"docs\" was created successfully.\n");
  int16_t n = find("/tmp/docs");
  ASSERT_EQ(n, 20);
  Inode node;
  node.read(io->ds, n);
  EXPECT_TRUE(node.isFolder());
  EXPECT_EQ(node.getOwner(), 3);
  EXPECT_EQ(node.getMode(), 0x1ED);
  ASSERT_EQ(node.getBlockCount(), 1);
  int k = node.getBlock(0);
  EXPECT_EQ(peek16(fx.image(), blockAt(k)), 2);
  EXPECT_EQ(peek16(fx.image(), blockAt(k) + 2), find("/tmp"));
  EXPECT_EQ(peek(fx.image(), blockAt(k) + 4, 3), (std::vector<uint8_t>{'.', '.', 0}));
  EXPECT_EQ(peek16(fx.image(), blockAt(k) + 34), n);
  EXPECT_EQ(find("/tmp/docs/.."), find("/tmp"));
}

TEST_F(Create, FileGetsOneZeroBlockAndQuietCreationPrintsNothing) {
  ASSERT_EQ(createFile(io->ds, false, 0, "/tmp/f"), 0);
  EXPECT_EQ(io->out.str(), "");
  Inode node;
  node.read(io->ds, find("/tmp/f"));
  EXPECT_TRUE(node.isFile());
  EXPECT_EQ(node.getMode(), 0x1A4);
  EXPECT_EQ(node.getBlockCount(), 1);
  EXPECT_EQ(peek(fx.image(), blockAt(node.getBlock(0)), 100), std::vector<uint8_t>(100, 0));
}

TEST_F(Create, FullParentBlockGrowsByTheBlockAfterTheNewOne) {
  // /tmp holds "..", "." and gets a: full. b then needs a new block for /tmp.
  ASSERT_EQ(createFile(io->ds, false, 0, "/tmp/a"), 0);
  Inode tmp;
  tmp.read(io->ds, find("/tmp"));
  ASSERT_EQ(tmp.getBlockCount(), 1);
  ASSERT_EQ(createFile(io->ds, false, 0, "/tmp/b"), 0);
  Inode b;
  b.read(io->ds, find("/tmp/b"));
  tmp.read(io->ds, find("/tmp"));
  ASSERT_EQ(tmp.getBlockCount(), 2);
  EXPECT_EQ(tmp.getBlock(1), b.getBlock(0) + 1);
  EXPECT_EQ(peek16(fx.image(), blockAt(tmp.getBlock(1))), 1);
}

TEST_F(Create, RefusalsComeBeforeAnythingIsAllocated) {
  std::vector<uint8_t> before = readBytes(fx.image());
  EXPECT_EQ(createFolder(io->ds, true, 0, "/"), -1);
  EXPECT_EQ(err(), "Can not create folder \"/\".\n");
  EXPECT_EQ(createFile(io->ds, true, 0, "/"), -1);
  EXPECT_EQ(err(), "Can not create file \"/\".\n");
  EXPECT_EQ(createFolder(io->ds, true, 0, "/x/y"), -1);
  EXPECT_EQ(err(), "Folder or file \"x\" not found.\nCan not create folder \"y\".\n");
  EXPECT_EQ(createFolder(io->ds, true, 0, "/etc/passwd/root/y"), -1);
  EXPECT_EQ(err(), "Can not create folder \"y\".\n");
  EXPECT_EQ(createFolder(io->ds, true, 0, "/tmp/"), -1);
  EXPECT_EQ(err(), "Can not create folder \"\".\n");
  EXPECT_EQ(createFile(io->ds, true, 0, "/tmp/" + std::string(31, 'l')), -1);
  EXPECT_EQ(err(), "Foldername (filename) can not exceed 30 symbols.\n");
  EXPECT_EQ(createFolder(io->ds, true, 0, "/bin"), -1);
  EXPECT_EQ(err(), "The folder or file \"bin\" already exists.\n");
  EXPECT_EQ(createFolder(io->ds, true, 0, "/tmp/."), -1);
  EXPECT_EQ(err(), "The folder or file \".\" already exists.\n");
  EXPECT_EQ(io->out.str(), "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST_F(Create, NoFreeInodeOrDatablockLeavesNothingAllocated) {
  poke(fx.image(), kInodeMap, std::vector<uint8_t>(100, 1));
  std::vector<uint8_t> before = readBytes(fx.image());
  EXPECT_EQ(createFolder(io->ds, true, 0, "/tmp/x"), -1);
  EXPECT_EQ(err(), "There are no free i-node blocks.\nCan not create folder \"x\".\n");
  EXPECT_EQ(readBytes(fx.image()), before);

  poke(fx.image(), kInodeMap + 20, {0});
  poke(fx.image(), kBlockMap, std::vector<uint8_t>(1000, 1));
  before = readBytes(fx.image());
  EXPECT_EQ(createFile(io->ds, true, 0, "/tmp/x"), -1);
  EXPECT_EQ(err(), "There are no free datablocks.\nCan not create file \"x\".\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST_F(Create, AParentThatCannotGrowGivesBothBack) {
  ASSERT_EQ(createFile(io->ds, false, 0, "/tmp/a"), 0);  // /tmp's only block is now full
  std::vector<uint8_t> map = peek(fx.image(), kBlockMap, 1000);
  int firstFree = static_cast<int>(std::find(map.begin(), map.end(), 0) - map.begin());
  // Leave exactly one free datablock: the new file takes it, the parent cannot grow.
  std::vector<uint8_t> full(1000, 1);
  full[firstFree] = 0;
  poke(fx.image(), kBlockMap, full);
  std::vector<uint8_t> before = readBytes(fx.image());
  EXPECT_EQ(createFile(io->ds, true, 0, "/tmp/b"), -1);
  EXPECT_EQ(err(), "There are no free datablocks.\nCan not create daughter file\"b\".\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

}  // namespace
}  // namespace fs5::test
