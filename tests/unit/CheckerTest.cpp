// The image checker and the repair on damaged standard images: each row names the damage,
// pokes records ("REGION N OFFSET BYTES", see pokeRecord), lists the problem lines the checker
// must print, in its order, the repair lines of fs5ck -y, after which the checker must find the
// image sound, and those of fs5ck -p ("=": the same as -y, and the image sound after them too);
// -p never changes a byte past the maps.
// In the standard image i-node 0 is / (datablocks 0 3 7 11 15 19 23), 1 /bin (1), 2 /boot (2),
// 3 /dev (4), 4 /etc (5), 5 /home (6), 7 /lib (9), 8 /lost+found (10), 9 /misc (12), 10 /mnt
// (13), 11 /opt (14), 12 /proc (16), 17 /var (22), 18 /etc/passwd (24) and 19 its file root
// (25); datablock 23 holds only "var".
#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/Print.h"
#include "storage/Inode.h"
#include "tests/support/TestDiskStream.h"
#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Checker.h"
#include "tools/fs5ck/Repair.h"

namespace fs5::test {
namespace {

struct Damage {
  std::string name, pokes, problems, repairs, lossless;
};

// clang-format off
const Damage kDamages[] = {
  {"map byte 2 under an i-node",
   "imap 1 0 02", "i-node 1: map byte is 2, not 0 or 1.", "i-node 1: map byte set to 1.", "="},
  {"map byte 255 under a datablock",
   "bmap 1 0 ff", "datablock 1: map byte is 255, not 0 or 1.", "datablock 1: map byte set to 1.",
   "="},
  {"map byte 3 under user number 0",
   "umap 0 0 03", "user number 0: map byte is 3, not 0 or 1.",
   "user number 0: map byte set to 1.", "="},
  {"used i-node with an empty record",
   "imap 30 0 01", "i-node 30: used but its record is all zero.", "i-node 30: marked free.", "="},
  {"free i-node with a record",
   "inode 50 207 01", "i-node 50: free but its record is not all zero.",
   "i-node 50: record zeroed.", ""},
  {"free datablock not zero",
   "block 500 99 01", "datablock 500: free but not all zero.", "datablock 500: zeroed.", ""},
  {"leaked empty datablock",
   "bmap 600 0 01", "datablock 600: used but listed by no i-node.",
   "datablock 600: marked free.", "="},
  {"user number held by no account",
   "umap 5 0 01", "user number 5: used but held by no account.", "user number 5: marked free.",
   "="},
  {"bytes never judged",
   "block 0 98 ab cd;inode 9 2 00 fe", "", "", "="},
  {"folder of an unknown type",
   "inode 1 4 03 00", "i-node 1: used but its type is 3, neither 1 (folder) nor 2 (file).",
   "i-node 1: type set to 1 (folder).", ""},
  {"account file of an unknown type",
   "inode 19 4 03 00", "i-node 19: used but its type is 3, neither 1 (folder) nor 2 (file).|"
   "user number 0: the superuser's number is held by no account.",
   "i-node 19: type set to 2 (file).", ""},
  {"block count 0",
   "inode 2 206 00 00", "i-node 2: block count is 0, not 1 to 100.|i-node 2: unlisted block slot 0 "
   "holds 2, not 0.|datablock 2: used but listed by no i-node.",
   "i-node 2: block count set to 1.", ""},
  {"block outside the area",
   "inode 3 6 e8 03", "i-node 3: lists datablock 1000, outside the datablock area.|datablock 4: "
   "used but listed by no i-node.", "i-node 3: datablock 1000 taken out of its list.|/dev: \"..\" "
   "set to i-node 0.|/dev: \".\" set to i-node 3.|datablock 4: kept as /lost+found/#b4.|/dev: "
   "datablock 26 added.", ""},
  {"listed block free in the map",
   "bmap 22 0 00", "i-node 17: lists datablock 22, which is free in the map.",
   "datablock 22: marked used.", "="},
  {"block listed by two i-nodes",
   "inode 19 8 05 00;inode 19 206 02 00",
   "i-node 19: lists datablock 5, already listed by i-node 4.",
   "i-node 19: datablock 5 copied to datablock 26.", ""},
  {"block listed twice by one i-node",
   "inode 19 8 19 00;inode 19 206 02 00", "i-node 19: lists datablock 25 twice.",
   "i-node 19: datablock 25 copied to datablock 26.", ""},
  {"unlisted block slot not zero",
   "inode 8 16 07 00", "i-node 8: unlisted block slot 5 holds 7, not 0.",
   "i-node 8: unlisted block slots zeroed.", ""},
  {"root not a folder",
   "inode 0 4 02 00", "i-node 0: the root is not a folder.",
   "i-node 0: type set to 1 (folder).", ""},
  {"dot-dot naming the wrong folder",
   "block 5 2 03 00", "/etc: \"..\" names i-node 3 instead of 0.",
   "/etc: \"..\" set to i-node 0.", ""},
  {"dot naming the wrong folder",
   "block 6 34 06 00", "/home: \".\" names i-node 6 instead of 5.",
   "/home: \".\" set to i-node 5.", ""},
  {"root's dot naming another",
   "block 0 34 01 00", "/: \".\" names i-node 1 instead of 0.", "/: \".\" set to i-node 0.", ""},
  {"no dot-dot in the first block",
   "block 1 4 78 78", "/bin: the first datablock does not start with \"..\".|/bin/xx: names "
   "i-node 0 (/), a folder on its own path.",
   "/bin: \"..\" set to i-node 0.|/bin: entry \"xx\" taken out.", ""},
  {"no dot in the first block",
   "block 2 36 73", "/boot: the second entry of the first datablock is not \".\".|/boot/s: names "
   "i-node 2 (/boot), a folder on its own path.",
   "/boot: \".\" set to i-node 2.|/boot: entry \"s\" "
   "taken out.", ""},
  {"name entered twice",
   "block 23 4 75 73 72", "/: the name \"usr\" is entered more than once.",
   "/: entry \"usr\" taken "
   "out.|i-node 17: reconnected as /lost+found/#17.|/: datablock 23 given back.", ""},
  {"entry naming a free i-node",
   "block 23 0 02 00;block 23 34 32 00 67", "/g: names i-node 50, which is free in the map.",
   "/: entry \"g\" taken out.", ""},
  {"entry outside the i-node table",
   "block 23 0 02 00;block 23 34 fd ff 6e", "/n: names i-node -3, outside the i-node table.",
   "/: entry \"n\" taken out.", ""},
  {"entry with an empty name",
   "block 9 0 03 00;block 9 66 01 00", "/lib: datablock 9 slot 2 holds an entry with an empty "
   "name.|/lib/: names i-node 1, already reached as /bin.", "/lib: entry \"\" taken out.", ""},
  {"entry with a slash",
   "block 12 0 03 00;block 12 66 0e 00 73 2f 62",
   "/misc: the entry \"s/b\" has a \"/\" in its name.|"
   "/misc/s/b: \"..\" names i-node 0 instead of 9.|/sbin: names i-node 14, already reached as "
   "/misc/s/b.", "/misc: entry \"s/b\" taken out.", ""},
  {"entry naming the root below it",
   "block 14 0 03 00;block 14 66 00 00 75 70", "/opt/up: names i-node 0 (/), a folder on its own "
   "path.", "/opt: entry \"up\" taken out.", ""},
  {"dot-dot out of its place",
   "block 16 0 03 00;block 16 66 00 00 2e 2e",
   "/proc: datablock 16 slot 2 holds an entry \"..\" out "
   "of its place.", "/proc: entry \"..\" taken out.", ""},
  {"folder block not full before the last",
   "block 23 0 02 00;block 23 34 04 00 65 74 63;block 3 0 02 00;block 3 66 00 00 00 00 00",
   "/: datablock 3 holds 2 entries but is not the folder's last.", "/: datablocks rewritten.", ""},
  {"empty last folder block",
   "inode 1 8 58 02;inode 1 206 02 00;bmap 600 0 01", "/bin: datablock 1 holds 2 entries but is "
   "not the folder's last.|/bin: datablock 600 is the folder's last but holds no entries.",
   "/bin: datablock 600 given back.", ""},
  {"entry count 4",
   "block 4 0 04 00", "/dev: datablock 4 has the entry count 4, not 0 to 3.|/dev: datablock 4 "
   "slot 2 holds an entry with an empty name.|/dev/: names i-node 0 (/), a folder on its own path.",
   "/dev: entry \"\" taken out.", ""},
  {"slot past the count not zero",
   "block 2 97 78", "/boot: datablock 2 slot 2 is past the entry count but not zero.",
   "/boot: datablocks rewritten.", ""},
  {"root free in the map",
   "imap 0 0 00", "i-node 0: free but its record is not all zero.|datablock 0: used but listed by "
   "no i-node.|datablock 3: used but listed by no i-node.|datablock 7: used but listed by no "
   "i-node.|datablock 11: used but listed by no i-node.|datablock 15: used but listed by no "
   "i-node.|datablock 19: used but listed by no i-node.|datablock 23: used but listed by no "
   "i-node.|i-node 0: the root folder is free in the map.", "i-node 0: marked used.", "="},
  {"folder free in the map",
   "imap 5 0 00", "i-node 5: free but its record is not all zero.|datablock 6: used but listed by "
   "no i-node.|/home: names i-node 5, which is free in the map.", "i-node 5: marked used.", "="},
  {"account folder lost",
   "block 5 0 02 00", "/etc: datablock 5 slot 2 is past the entry count but not zero.|i-node 18: "
   "used but reached by no entry.|i-node 19: used but reached by no entry.|/etc/passwd: not found.",
   "/etc/passwd: folder made.|i-node 18: reconnected as /lost+found/#18.|/etc/passwd/root: made "
   "for user number 0; the next start of fs5sh will ask for a new superuser password.", ""},
  {"account folder's entry lost",
   "block 11 13 74;block 24 0 02 00", "/etc/passwd: datablock 24 slot 2 is past the entry count "
   "but not zero.|i-node 19: used but reached by no entry.|user number 0: the superuser's number "
   "is held by no account.", "/lost+found: folder made.|i-node 19: reconnected as /lost+found/#19."
   "|/etc/passwd/root: made for user number 0; the next start of fs5sh will ask for a new "
   "superuser password.", ""},
  {"account file turned folder",
   "inode 19 4 01 00;inode 19 206 00 00", "i-node 19: block count is 0, not 1 to 100.|i-node 19: "
   "unlisted block slot 0 holds 25, not 0.|datablock 25: used but listed by no i-node.|"
   "/etc/passwd/root: not a file.|user number 0: the superuser's number is held by no account.",
   "i-node 19: block count set to 1.|/etc/passwd: entry \"root\" taken out.|i-node 19: reconnected"
   " as /lost+found/#19.|/lost+found/#19: \".\" set to i-node 19.|/etc/passwd/root: made for user "
   "number 0; the next start of fs5sh will ask for a new superuser password.", ""},
  {"superuser renamed",
   "block 24 68 61", "user number 0: held by \"aoot\", not by \"root\".", "/etc/passwd/aoot: "
   "renamed \"root\", the holder of user number 0.", ""},
  {"superuser's number changed",
   "block 25 2 05 00", "/etc/passwd/root: user number 5 is free in the user map.|user number 0: "
   "the superuser's number is held by no account.", "/etc/passwd/root: user number set to 0.",
   "user number 5: marked used."},
  {"two accounts holding 0",
   "inode 18 8 1a 00;inode 18 206 02 00;bmap 26 0 01;block 26 0 01 00 14 00 61 6e 6e 61;imap 20 0"
   " 01;inode 20 4 02 00 1b 00;inode 20 206 01 00;bmap 27 0 01", "/etc/passwd/anna: shares user "
   "number 0 with \"root\".", "/etc/passwd/anna: user number set to 1.", ""},
  {"leaked datablock with content",
   "bmap 600 0 01;block 600 0 68 69 1b", "datablock 600: used but listed by no i-node.",
   "datablock 600: kept as /lost+found/#b600.", ""},
  {"file's first block changed to a free one",
   "inode 19 6 1a 00", "i-node 19: lists datablock 26, which is free in the map.|datablock 25: "
   "used but listed by no i-node.",
   "datablock 25: kept as /lost+found/#b25.|datablock 26: marked used.",
   "datablock 26: marked used."},
};
// clang-format on

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "|") + line;
  return text;
}

// Pokes the standard image (or, with `fresh` false, the image as it is).
void damage(const std::string& image, const std::string& pokes, bool fresh = true) {
  if (fresh) writeBytes(image, standardImage());
  std::istringstream in(pokes);
  for (std::string poke; std::getline(in, poke, ';');) {
    std::vector<std::string> words = {"poke"};
    std::istringstream w(poke);
    for (std::string word; w >> word;) words.push_back(word);
    pokeRecord(image, words);
  }
}

// Bytes outside the three maps: what -p must leave as it found them.
std::vector<uint8_t> pastTheMaps(const std::string& image) {
  std::vector<uint8_t> bytes = readBytes(image);
  bytes.erase(bytes.begin(), bytes.begin() + 1210);
  return bytes;
}

TEST(Checker, DamageTable) {
  TempDir dir;
  const std::string image = dir.file("i");
  for (const Damage& d : kDamages) {
    SCOPED_TRACE(d.name);
    damage(image, d.pokes);
    EXPECT_EQ(joined(checkImageProblems(image)), d.problems);
    EXPECT_EQ(joined(repairImageFile(image, RepairMode::kAll).lines), d.repairs);
    EXPECT_EQ(joined(checkImageProblems(image)), "");
    damage(image, d.pokes);
    std::vector<uint8_t> records = pastTheMaps(image);
    bool same = d.lossless == "=";
    EXPECT_EQ(joined(repairImageFile(image, RepairMode::kLossless).lines),
              same ? d.repairs : d.lossless);
    EXPECT_TRUE(!same || checkImageProblems(image).empty());
    EXPECT_TRUE(pastTheMaps(image) == records) << "-p changed a record or a datablock";
  }
}

// -y keeps a leaked datablock's bytes as a file of the superuser in /lost+found, which prints
// up to its end mark.
TEST(Checker, LeakedBlockKeptAsFile) {
  TempDir dir;
  const std::string image = dir.file("i");
  damage(image, "bmap 600 0 01;block 600 0 68 69 1b 78");
  repairImageFile(image, RepairMode::kAll);
  ImageStream io(image);
  ASSERT_EQ(printFile(io.ds, lookup(io.ds, true, "/lost+found/#b600")), 0);
  EXPECT_EQ(io.out.str(), "This is the file \"#b600\" content:\nhi\n\n");
  Inode kept;
  kept.read(io.ds, 20);
  EXPECT_EQ(std::tuple(kept.isFile(), kept.getOwner(), kept.getBlock(0)), std::tuple(true, 0, 600));
}

// With no i-node free for it, -y leaves a leaked datablock as it is, and it is counted as left.
TEST(Checker, LeakedBlockLeftWhenNoInodeIsFree) {
  TempDir dir;
  const std::string image = dir.file("i");
  damage(image, "");
  {
    ImageStream io(image);
    for (int i = 0; createFile(io.ds, false, 0, "/tmp/f" + std::to_string(i)) == 0;) ++i;
  }
  damage(image, "bmap 900 0 01;block 900 0 41", false);
  EXPECT_EQ(joined(repairImageFile(image, RepairMode::kAll).lines), "");
  EXPECT_EQ(joined(checkImageProblems(image)), "datablock 900: used but listed by no i-node.");
}

// --version prints the version and ends, whatever else is given but --help.
TEST(Checker, VersionIsPrinted) {
  std::ostringstream out, err;
  EXPECT_EQ(runChecker({"-y", "--version", "x"}, out, err), 0);
  EXPECT_EQ(out.str() + "|" + err.str(), "fs5ck 0.1\n|");
}

// A read that fails midway: the checker can not judge the image.
TEST(Checker, ImageFailingMidwayCanNotBeRead) {
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  TestImage io(dir.file("i"), 3);  // the size query and the header read pass
  CheckReport r = checkImage(io.ds);
  EXPECT_EQ(std::tuple(r.readable, r.failure), std::tuple(false, "the image can not be read."));
}

}  // namespace
}  // namespace fs5::test
