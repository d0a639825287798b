// The image checker on damaged standard images: each row pokes records ("REGION N OFFSET
// BYTES", see pokeRecord) and lists the problem lines the checker must print, in its order.
// In the standard image i-node 0 is / (datablocks 0 3 7 11 15 19 23), 1 /bin (1), 2 /boot (2),
// 3 /dev (4), 4 /etc (5), 5 /home (6), 7 /lib (9), 8 /lost+found (10), 9 /misc (12), 10 /mnt
// (13), 11 /opt (14), 12 /proc (16), 17 /var (22), 18 /etc/passwd (24) and 19 its file root
// (25); datablock 23 holds only "var".
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Checker.h"

namespace fs5::test {
namespace {

// clang-format off
const std::pair<std::string, std::string> kDamages[] = {
  {"imap 1 0 02", "i-node 1: map byte is 2, not 0 or 1."},
  {"bmap 1 0 ff", "datablock 1: map byte is 255, not 0 or 1."},
  {"umap 0 0 03", "user number 0: map byte is 3, not 0 or 1."},
  {"imap 30 0 01", "i-node 30: used but its record is all zero."},
  {"inode 50 207 01", "i-node 50: free but its record is not all zero."},
  {"block 500 99 01", "datablock 500: free but not all zero."},
  {"bmap 600 0 01", "datablock 600: used but listed by no i-node."},
  {"umap 5 0 01", "user number 5: used but held by no account."},
  {"block 0 98 ab cd;inode 9 2 00 fe", ""},
  {"inode 1 4 03 00", "i-node 1: used but its type is 3, neither 1 (folder) nor 2 (file)."},
  {"inode 2 206 00 00", "i-node 2: block count is 0, not 1 to 100.|i-node 2: unlisted block slot 0 "
                        "holds 2, not 0.|datablock 2: used but listed by no i-node."},
  {"inode 3 6 e8 03", "i-node 3: lists datablock 1000, outside the datablock area.|datablock 4: "
                      "used but listed by no i-node."},
  {"bmap 22 0 00", "i-node 17: lists datablock 22, which is free in the map."},
  {"inode 19 8 05 00;inode 19 206 02 00", "i-node 19: lists datablock 5, already listed by i-node 4."},
  {"inode 19 8 19 00;inode 19 206 02 00", "i-node 19: lists datablock 25 twice."},
  {"inode 8 16 07 00", "i-node 8: unlisted block slot 5 holds 7, not 0."},
  {"inode 0 4 02 00", "i-node 0: the root is not a folder."},
  {"block 5 2 03 00", "/etc: \"..\" names i-node 3 instead of 0."},
  {"block 6 34 06 00", "/home: \".\" names i-node 6 instead of 5."},
  {"block 0 34 01 00", "/: \".\" names i-node 1 instead of 0."},
  {"block 1 4 78 78", "/bin: the first datablock does not start with \"..\".|/bin/xx: names "
                      "i-node 0 (/), a folder on its own path."},
  {"block 2 36 73", "/boot: the second entry of the first datablock is not \".\".|/boot/s: names "
                    "i-node 2 (/boot), a folder on its own path."},
  {"block 23 4 75 73 72", "/: the name \"usr\" is entered more than once."},
  {"block 23 0 02 00;block 23 34 32 00 67", "/g: names i-node 50, which is free in the map."},
  {"block 23 0 02 00;block 23 34 fd ff 6e", "/n: names i-node -3, outside the i-node table."},
  {"block 9 0 03 00;block 9 66 01 00", "/lib: datablock 9 slot 2 holds an entry with an empty "
                                       "name.|/lib/: names i-node 1, already reached as /bin."},
  {"block 12 0 03 00;block 12 66 0e 00 73 2f 62", "/misc: the entry \"s/b\" has a \"/\" in its "
      "name.|/misc/s/b: \"..\" names i-node 0 instead of 9.|/sbin: names i-node 14, already reached as /misc/s/b."},
  {"block 14 0 03 00;block 14 66 00 00 75 70", "/opt/up: names i-node 0 (/), a folder on its own path."},
  {"block 16 0 03 00;block 16 66 00 00 2e 2e", "/proc: datablock 16 slot 2 holds an entry \"..\" out of its place."},
  {"block 23 0 02 00;block 23 34 04 00 65 74 63;block 3 0 02 00;block 3 66 00 00 00 00 00",
   "/: datablock 3 holds 2 entries but is not the folder's last."},
  {"inode 1 8 58 02;inode 1 206 02 00;bmap 600 0 01", "/bin: datablock 1 holds 2 entries but is "
   "not the folder's last.|/bin: datablock 600 is the folder's last but holds no entries."},
  {"block 4 0 04 00", "/dev: datablock 4 has the entry count 4, not 0 to 3.|/dev: datablock 4 "
   "slot 2 holds an entry with an empty name.|/dev/: names i-node 0 (/), a folder on its own path."},
  {"block 2 97 78", "/boot: datablock 2 slot 2 is past the entry count but not zero."},
  {"imap 0 0 00", "i-node 0: free but its record is not all zero.|datablock 0: used but listed by "
   "no i-node.|datablock 3: used but listed by no i-node.|datablock 7: used but listed by no "
   "i-node.|datablock 11: used but listed by no i-node.|datablock 15: used but listed by no "
   "i-node.|datablock 19: used but listed by no i-node.|datablock 23: used but listed by no "
   "i-node.|i-node 0: the root folder is free in the map."},
};
// clang-format on

TEST(Checker, DamageTable) {
  TempDir dir;
  for (const auto& [pokes, expected] : kDamages) {
    writeBytes(dir.file("i"), standardImage());
    std::istringstream in(pokes);
    for (std::string poke; std::getline(in, poke, ';');) {
      std::vector<std::string> words = {"poke"};
      std::istringstream w(poke);
      for (std::string word; w >> word;) words.push_back(word);
      pokeRecord(dir.file("i"), words);
    }
    std::string got;
    for (const std::string& p : checkImageProblems(dir.file("i")))
      got += (got.empty() ? "" : "|") + p;
    EXPECT_EQ(got, expected) << pokes;
  }
}

// A read that fails midway: the checker can not judge the image.
TEST(Checker, ImageFailingMidwayCanNotBeRead) {
  struct FailingReads : FileDiskStream {
    using FileDiskStream::FileDiskStream;
    int left = 40;
    bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override {
      return --left > 0 && FileDiskStream::readAt(offset, buf, n);
    }
  };
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  ImageStream io(dir.file("i"));
  FailingReads ds(io.con, dir.file("i"));
  CheckReport r = checkImage(ds);
  EXPECT_EQ(std::tuple(r.readable, r.failure), std::tuple(false, "the image can not be read."));
}

}  // namespace
}  // namespace fs5::test
