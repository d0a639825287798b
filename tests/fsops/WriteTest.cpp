#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "storage/AllocMaps.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const char* kEditorHeading =
    "Erasing the file \"f\"\n"
    "Press \"Esc\", then \"Enter\" to finish your input and save the file.\n"
    "Input the data here:\n";

class Write : public ::testing::Test {
 protected:
  ImageFixture fx;
  std::unique_ptr<ImageFixture::Direct> io;

  // Creates /tmp/f and writes `typed` into it through the editor.
  int16_t write(const std::string& typed) {
    io = fx.open(typed);
    EXPECT_EQ(createFile(io->ds, false, 0, "/tmp/f"), 0);
    return writeFile(io->ds, "/tmp/f");
  }
  Inode file() {
    PathName p;
    p.parse(io->con, "/tmp/f");
    Inode node;
    node.read(io->ds, resolveWhole(io->ds, false, p));
    return node;
  }
  std::vector<uint8_t> block(int i) { return peek(fx.image(), blockAt(file().getBlock(i)), 100); }
};

TEST_F(Write, EscapeAtOnceStoresOnlyTheEndMark) {
  ASSERT_EQ(write("\x1b\n"), 0);
  EXPECT_EQ(io->out.str(), kEditorHeading);
  EXPECT_EQ(io->err.str(), "");
  EXPECT_EQ(file().getBlockCount(), 1);
  std::vector<uint8_t> expected(100, 0);
  expected[0] = 27;
  EXPECT_EQ(block(0), expected);
  EXPECT_EQ(io->con.readChar(), '\n');  // the Enter stays for the next command line
}

TEST_F(Write, NinetyNineCharactersFillOneBlockWithTheMarkLast) {
  ASSERT_EQ(write(std::string(99, 'a') + "\x1b\n"), 0);
  EXPECT_EQ(file().getBlockCount(), 1);
  EXPECT_EQ(block(0)[98], 'a');
  EXPECT_EQ(block(0)[99], 27);
}

TEST_F(Write, HundredCharactersPutTheMarkInASecondBlock) {
  ASSERT_EQ(write(std::string(100, 'b') + "\x1b\n"), 0);
  ASSERT_EQ(file().getBlockCount(), 2);
  EXPECT_EQ(block(0), std::vector<uint8_t>(100, 'b'));
  std::vector<uint8_t> second(100, 0);
  second[0] = 27;
  EXPECT_EQ(block(1), second);
}

TEST_F(Write, LineEndsAreStoredAsTyped) {
  ASSERT_EQ(write("ab\ncd\x1b\n"), 0);
  std::vector<uint8_t> first = block(0);
  EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + 6),
            (std::vector<uint8_t>{'a', 'b', '\n', 'c', 'd', 27}));
}

TEST_F(Write, NineThousandNineHundredNinetyNineCharactersFillAHundredBlocks) {
  ASSERT_EQ(write(std::string(9999, 'c') + "\x1b\n"), 0);
  ASSERT_EQ(file().getBlockCount(), 100);
  EXPECT_EQ(block(99)[98], 'c');
  EXPECT_EQ(block(99)[99], 27);
}

TEST_F(Write, TheTenThousandthCharacterFillsTheFileAndTheRestIsDropped) {
  ASSERT_EQ(write(std::string(10000, 'd') + "more\nls\x1b\nnext\n"), -1);
  EXPECT_EQ(io->err.str(), "The file is full\n");
  EXPECT_EQ(file().getBlockCount(), 1);
  EXPECT_EQ(block(0), std::vector<uint8_t>(100, 0));
  std::string rest;
  ASSERT_TRUE(io->con.readLine(rest));
  EXPECT_EQ(rest, "");  // what followed the Escape on its line
  ASSERT_TRUE(io->con.readLine(rest));
  EXPECT_EQ(rest, "next");
}

TEST_F(Write, EndOfInputEndsTheTypingAndSaves) {
  ASSERT_EQ(write("xyz"), 0);
  std::vector<uint8_t> first = block(0);
  EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + 5),
            (std::vector<uint8_t>{'x', 'y', 'z', 27, 0}));
}

TEST_F(Write, RewritingFreesTheOldBlocksFromTheLastBackwards) {
  ASSERT_EQ(write(std::string(450, 'e') + "\x1b\n"), 0);
  Inode before = file();
  ASSERT_EQ(before.getBlockCount(), 5);
  std::vector<int16_t> old;
  for (int i = 1; i < 5; ++i) old.push_back(before.getBlock(i));
  auto again = fx.open("z\x1b\n");
  ASSERT_EQ(writeFile(again->ds, "/tmp/f"), 0);
  for (int16_t k : old) {
    EXPECT_EQ(peek(fx.image(), kBlockMap + k, 1), std::vector<uint8_t>{0});
    EXPECT_EQ(peek(fx.image(), blockAt(k), 100), std::vector<uint8_t>(100, 0));
  }
  EXPECT_EQ(file().getBlockCount(), 1);
}

TEST_F(Write, RunningOutOfDatablocksWhileSavingGivesThemBack) {
  io = fx.open(std::string(350, 'g') + "\x1b\n");
  ASSERT_EQ(createFile(io->ds, false, 0, "/tmp/f"), 0);
  std::vector<uint8_t> map = peek(fx.image(), kBlockMap, 1000);
  std::vector<uint8_t> nearlyFull(1000, 1);
  int left = 0;
  for (int k = 0; k < 1000 && left < 2; ++k)
    if (map[k] == 0) nearlyFull[k] = 0, ++left;  // two free blocks; the save needs three
  poke(fx.image(), kBlockMap, nearlyFull);
  std::vector<uint8_t> before = readBytes(fx.image());
  EXPECT_EQ(writeFile(io->ds, "/tmp/f"), -1);
  EXPECT_EQ(io->err.str(), "There are no free datablocks.\nThe file was not saved.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST_F(Write, EraseRefusesTheRootAFolderAndAMissingPath) {
  io = fx.open();
  EXPECT_EQ(eraseFile(io->ds, true, "/"), -1);
  EXPECT_EQ(eraseFile(io->ds, true, "/etc"), -1);
  EXPECT_EQ(eraseFile(io->ds, true, "/nope"), -1);
  EXPECT_EQ(io->err.str(),
            "This is a \"/\" folder, not a file.\n\"etc\" is a folder,not a file.\n"
            "Folder or file \"nope\" not found.\n");
  EXPECT_EQ(io->out.str(), "");
}

TEST_F(Write, EraseReportsADatablockThatIsAlreadyFree) {
  ASSERT_EQ(write(std::string(250, 'h') + "\x1b\n"), 0);
  Inode f = file();
  int16_t third = f.getBlock(2);
  int16_t second = f.getBlock(1);
  poke(fx.image(), kBlockMap + second, {0});  // the map no longer holds block 1 of the list
  auto again = fx.open();
  EXPECT_EQ(eraseFile(again->ds, true, "/tmp/f"), -1);
  EXPECT_EQ(again->err.str(),
            "This datablock is already free.\n"
            "The datablock with the index: 1 in the list of the file \"f\" \n"
            "(number: " +
                std::to_string(second) + ") was not deleted.\nThe file was not erased.");
  Inode after = file();
  EXPECT_EQ(after.getBlockCount(), 2);  // the freed third block is no longer listed
  EXPECT_EQ(peek(fx.image(), kBlockMap + third, 1), std::vector<uint8_t>{0});
  poke(fx.image(), kBlockMap + second, {1});  // mend the map for the image check
}

}  // namespace
}  // namespace fs5::test
