// Images made by the system's own operations and sessions are sound, and the test sessions'
// image judging reports what the checker finds.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Write.h"
#include "storage/AllocMaps.h"
#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Checker.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

TEST(SoundImages, AccountsFilesAndDeepFoldersMadeByTheOperations) {
  ImageFixture f;
  auto d = f.open(std::string(250, 'a') + "\x1b\n" + "short\x1b\n");
  addAccount(d->ds, "anna", "annapass");
  addAccount(d->ds, "bob", "bobpass1");
  ASSERT_EQ(createFile(d->ds, false, 1, "/home/anna/notes"), 0);
  ASSERT_EQ(writeFile(d->ds, "/home/anna/notes"), 0);  // three datablocks
  ASSERT_EQ(createFile(d->ds, false, 2, "/home/bob/todo"), 0);
  ASSERT_EQ(writeFile(d->ds, "/home/bob/todo"), 0);
  std::string path;
  for (const char* part : {"p", "q", "r", "s", "t", "u", "v", "w"}) {
    path += std::string("/") + part;
    ASSERT_EQ(createFolder(d->ds, false, 0, path), 0) << path;
  }
  for (const char* name : {"/tmp/a", "/tmp/b", "/tmp/c", "/tmp/d"})
    ASSERT_EQ(createFile(d->ds, false, 0, name), 0);
  ASSERT_EQ(d->err.str(), "");
  d.reset();

  CheckReport r = checkImageFile(f.image());
  EXPECT_EQ(r.problems, std::vector<std::string>{});
  EXPECT_EQ(r.exitStatus(), 0);
  EXPECT_EQ(r.folders, 19 + 2 + 8);
  EXPECT_EQ(r.files, 3 + 2 + 4);
  EXPECT_EQ(r.usedInodes, 20 + 4 + 2 + 8 + 4);
  // The fresh 26, then: two account files and a second datablock for /etc/passwd, two homes
  // and a second datablock for /home, notes (3) and todo (1), the 8 folders, the 4 files in
  // /tmp and a second datablock for /tmp.
  EXPECT_EQ(r.usedBlocks, 26 + 3 + 3 + 4 + 8 + 5);
  EXPECT_EQ(r.accounts, 3);
}

TEST(SoundImages, AfterLoginsReenterAndExit) {
  ImageFixture f;
  SessionResult r = f.asRoot("reenter\n" + rootLogin() + "\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(checkImageFile(f.image()).problems, std::vector<std::string>{});
}

TEST(SoundImages, AfterMkfsInASession) {
  ImageFixture f;
  auto d = f.open();
  ASSERT_EQ(createFolder(d->ds, false, 0, "/tmp/old"), 0);
  d.reset();
  SessionResult r = f.asRoot("mkfs\n\nnewpass1\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("The disk was formatted."), std::string::npos) << withoutClears(r.out);
  CheckReport report = checkImageFile(f.image());
  EXPECT_EQ(report.problems, std::vector<std::string>{});
  EXPECT_EQ(report.folders, 19);
  EXPECT_EQ(report.usedBlocks, 26);
}

TEST(SessionJudging, DamagedImageIsAFailureListingTheProblems) {
  ImageFixture f;
  poke(f.image(), kBlockMap + 600, {1});
  poke(f.image(), kUserMap + 5, {1});
  EXPECT_NONFATAL_FAILURE(expectSoundImage(f.image()),
                          "  datablock 600: used but listed by no i-node.\n"
                          "  user number 5: used but held by no account.\n");
}

TEST(SessionJudging, UnreadableImageIsAFailure) {
  TempDir dir;
  EXPECT_NONFATAL_FAILURE(expectSoundImage(dir.file("disk.fs5")), "the image does not exist.");
}

TEST(SessionJudging, SessionOnAnImageDamagedBeforehandIsNotJudged) {
  ImageFixture f;
  poke(f.image(), kBlockMap + 600, {1});
  SessionResult r = f.asRoot("");
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(::testing::Test::HasNonfatalFailure());
  EXPECT_EQ(checkImageProblems(f.image()),
            std::vector<std::string>{"datablock 600: used but listed by no i-node."});
}

}  // namespace
}  // namespace fs5::test
