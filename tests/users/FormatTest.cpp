#include <gtest/gtest.h>

#include "fsops/Lookup.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"
#include "users/Format.h"

namespace fs5::test {
namespace {

const char* kStandard[] = {"bin",  "boot",       "dev",  "etc", "home", "initrd",
                           "lib",  "lost+found", "misc", "mnt", "opt",  "proc",
                           "root", "sbin",       "tmp",  "usr", "var"};

TEST(Format, TheImageHoldsTheStandardContentExactly) {
  ImageFixture fx;
  std::vector<uint8_t> img = readBytes(fx.image());
  ASSERT_EQ(img.size(), 122010u);
  // i-nodes 0 to 19 used: the root, 18 folders and root's account file.
  for (int n = 0; n < 100; ++n) EXPECT_EQ(img[kInodeMap + n], n < 20 ? 1 : 0) << n;
  EXPECT_EQ(img[kUserMap], 1);
  for (int u = 1; u < 100; ++u) EXPECT_EQ(img[kUserMap + u], 0);
  auto io = fx.open();
  Inode root;
  root.read(io->ds, 0);
  ASSERT_EQ(root.getBlockCount(), 7);  // 19 entries, three to a block
  std::vector<std::pair<int, std::string>> entries;
  for (int b = 0; b < 7; ++b) {
    FolderBlock block;
    block.read(io->ds, root.getBlock(b));
    EXPECT_EQ(block.getCount(), b < 6 ? 3 : 1);
    for (int s = 0; s < block.getCount(); ++s)
      entries.emplace_back(block.getEntryInode(s), block.getEntryName(s));
  }
  ASSERT_EQ(entries.size(), 19u);
  EXPECT_EQ(entries[0], (std::pair<int, std::string>{0, ".."}));
  EXPECT_EQ(entries[1], (std::pair<int, std::string>{0, "."}));
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(entries[i + 2].second, kStandard[i]);
    EXPECT_EQ(entries[i + 2].first, i + 1);
  }
  PathName passwd;
  passwd.parse(io->con, "/etc/passwd");
  EXPECT_EQ(resolveWhole(io->ds, false, passwd), 18);
  // Nothing past the datablocks in use holds a byte.
  int usedBlocks = 0;
  for (int k = 0; k < 1000; ++k) usedBlocks += img[kBlockMap + k];
  for (int k = usedBlocks; k < 1000; ++k) ASSERT_EQ(img[kBlockMap + k], 0) << k;
}

TEST(Format, PasswordLengthsAreCheckedUntilOneFits) {
  TempDir dir;
  std::string in = "short " + std::string(31, 'l') + " " + std::string(30, 'k') + "\n\nexit\n";
  SessionResult r = runSession(dir.file("disk.fs5"), in);
  EXPECT_EQ(r.status, 0);
  std::string out = withoutClears(r.out);
  std::string ask = "\nEnter the superuser password (min. 6 tokens, max. 30 tokens):\n";
  std::size_t at = out.find(ask);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(out.substr(at), ask + "Do not undergo the minimum of 6 tokens.\n" + ask +
                                "Do not exceed the limit of 30 tokens.\n" + ask +
                                "\nThe superuser account \"root\" was successfully created.\n"
                                "The disk was formatted.\n\nPress Enter to continue.\nLogin: ");
  // The 30-character password logs in.
  SessionResult login =
      runSession(dir.file("disk.fs5"), "root " + std::string(30, 'k') + "\nexit\n");
  EXPECT_NE(login.out.find("[root @fs5 /root/ ]# "), std::string::npos);
}

TEST(Format, SixCharactersAreEnough) {
  TempDir dir;
  SessionResult r = runSession(dir.file("disk.fs5"), "sixsix\n\nroot sixsix\nexit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(withoutClears(r.out).find("Do not"), std::string::npos);
  EXPECT_NE(r.out.find("[root @fs5 /root/ ]# "), std::string::npos);
}

}  // namespace
}  // namespace fs5::test
