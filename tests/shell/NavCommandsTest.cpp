#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "storage/AllocMaps.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

const std::string kRootHome = "[root @fs5 /root/ ]# ";
const std::string kRootAtRoot = "[root @fs5 / ]# ";
const std::string kAnnaHome = "[anna @fs5 /home/anna/ ]$ ";
const std::string kWait = "Press Enter to continue.\n";

// What a session shows up to its first command: the login and the empty first command line.
std::string loggedIn(const std::string& prompt) { return "Login: \nPassword: " + prompt + prompt; }

// An account made as adduser would: its number, its record and its home folder.
int16_t addAccount(ImageFixture& f, const std::string& name) {
  return f.addAccount(name, "pw" + name);
}

SessionResult asAnna(ImageFixture& f, const std::string& commands) {
  return f.as("anna", "pwanna", commands);
}

void setMode(ImageFixture& f, int inode, uint16_t mode) {
  poke(f.image(), inodeAt(inode) + 2,
       {static_cast<uint8_t>(mode), static_cast<uint8_t>(mode >> 8)});
}

void makeFolder(ImageFixture& f, const std::string& path, int16_t owner = 0) {
  auto d = f.open();
  ASSERT_EQ(createFolder(d->ds, false, owner, path), 0);
}

// The i-node numbers of a fresh image with the account anna (record 20, home 21).
constexpr int kRootFolder = 0;
constexpr int kHome = 5;
constexpr int kAnnaFolder = 21;

TEST(Cd, AloneGoesHomeDotStaysAndNeitherPrints) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd /etc\ncd .\ncd\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + "[root @fs5 /etc/ ]# " + "\n" +
                                      "[root @fs5 /etc/ ]# " + "\n" + kRootHome);
}

TEST(Cd, DotDotInTheRootRefusesWithAWaitAndStays) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd /\ncd ..\n\n");
  EXPECT_EQ(r.err, "You can not move upper than \"/\" folder.\n");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kRootHome) + "\n" + kRootAtRoot + "\n" + kWait + kRootAtRoot);
}

TEST(Cd, DotDotFromAFolderUnderTheRootShowsTheRootOnce) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd /etc\ncd ..\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kRootHome) + "\n" + "[root @fs5 /etc/ ]# " + "\n" + kRootAtRoot);
}

TEST(Cd, RelativeAbsoluteAndDotDotSlashArguments) {
  ImageFixture f;
  addAccount(f, "anna");
  addAccount(f, "bob");
  SessionResult r = asAnna(f, "cd ../bob\ncd /etc\ncd passwd\ncd ../../home/anna\ncd\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + "\n" + "[anna @fs5 /home/bob/ ]$ " + "\n" +
                                      "[anna @fs5 /etc/ ]$ " + "\n" +
                                      "[anna @fs5 /etc/passwd/ ]$ " + "\n" +
                                      "[anna @fs5 /etc/../home/anna/ ]$ " + "\n" + kAnnaHome);
}

TEST(Cd, IntoAFileShowsTheFileLineAndWaits) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd /etc/passwd/root\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kRootHome) + "\n" +
                "\"root\" is a file, not a folder. You can not move into it.\n" + kWait +
                kRootHome);
}

TEST(Cd, MissingTargetShowsTheLookupLineAndWaits) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd nosuch/deeper\n\n");
  EXPECT_EQ(r.err, "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + kWait + kRootHome);
}

TEST(Cd, TargetTooDeepIsRefusedWithAWait) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd a/b/c/d/e/f/g/h\n\n");
  EXPECT_EQ(r.err,
            "The maximum pathname depth can not exceed 8 levels.\n"
            "The pathname was not deshifrated.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + kWait + kRootHome);
}

TEST(Cd, FolderWithoutExecuteIsRefusedWithoutAWait) {
  ImageFixture f;
  addAccount(f, "anna");
  makeFolder(f, "/tmp/locked");
  setMode(f, 22, 0x1EC);  // rwxr-xr--
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "cd /tmp/locked\ncd /tmp\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) +
                                      "\nAccess denied.\nYou can not move to \"locked\" folder.\n" +
                                      kAnnaHome + "\n" + "[anna @fs5 /tmp/ ]$ ");
  EXPECT_EQ(readBytes(f.image()), before);
  // The superuser passes without any line.
  r = f.asRoot("cd /tmp/locked\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + "[root @fs5 /tmp/locked/ ]# ");
}

TEST(Cd, RefusalsNameTheParentAndTheRootAsSlash) {
  ImageFixture f;
  addAccount(f, "anna");
  setMode(f, kHome, 0x1EC);
  setMode(f, kRootFolder, 0x1EC);
  SessionResult r = asAnna(f, "cd ..\ncd /\ncd /tmp\ncd ..\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) + "\nAccess denied.\nYou can not move to \"home\" folder.\n" +
                kAnnaHome + "\nAccess denied.\nYou can not move to \"/\" folder.\n" + kAnnaHome +
                "\n" + "[anna @fs5 /tmp/ ]$ " +
                "\nAccess denied.\nYou can not move to \"/\" folder.\n" + "[anna @fs5 /tmp/ ]$ ");
}

TEST(Cd, AloneRefusedWhenHomeHasNoExecute) {
  ImageFixture f;
  addAccount(f, "anna");
  setMode(f, kAnnaFolder, 0x1A4);  // rw-r--r--: neither the owner nor others may enter
  SessionResult r = asAnna(f, "cd /tmp\ncd\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + "\n" + "[anna @fs5 /tmp/ ]$ " +
                                      "\nAccess denied.\nYou can not move to \"anna\" folder.\n" +
                                      "[anna @fs5 /tmp/ ]$ ");
}

TEST(Cd, OwnerExecuteBitAloneLetsTheOwnerIn) {
  ImageFixture f;
  addAccount(f, "anna");
  setMode(f, kAnnaFolder, 0x1E4);  // rwxr--r--
  SessionResult r = asAnna(f, "cd /tmp\ncd\n");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) + "\n" + "[anna @fs5 /tmp/ ]$ " + "\n" + kAnnaHome);
}

const std::string kRootFolderListing =
    "The folder \"root\" content:\n"
    "\n"
    "root          i-node\n"
    " ├ .            13\n"
    " └ ..            0\n"
    "\n";

TEST(Ls, AloneAndDotListTheWorkingFolder) {
  ImageFixture f;
  SessionResult r = f.asRoot("ls\n\nls .\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + kRootFolderListing + "\n" + kWait +
                                      kRootHome + "\n" + kRootFolderListing + "\n" + kWait +
                                      kRootHome);
}

TEST(Ls, OptionLGivesTheLongFormAndOtherLettersTheShortForm) {
  ImageFixture f;
  SessionResult r = f.asRoot("ls -l\n\nls -xq\n\nls -ql /etc\n\n");
  EXPECT_EQ(r.err, "");
  std::string longRoot =
      "The folder \"root\" content:\n"
      "\n"
      "root          i-node\n"
      " ├ .            13      rwx r-x r-x   root\n"
      " └ ..            0      rwx r-x r-x   root\n"
      "\n";
  std::string longEtc =
      "The folder \"etc\" content:\n"
      "\n"
      "etc           i-node\n"
      " ├ .             4      rwx r-x r-x   root\n"
      " ├ ..            0      rwx r-x r-x   root\n"
      " └ passwd       18      rwx r-x r-x   root\n"
      "\n";
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + longRoot + "\n" + kWait + kRootHome +
                                      "\n" + kRootFolderListing + "\n" + kWait + kRootHome + "\n" +
                                      longEtc + "\n" + kWait + kRootHome);
}

TEST(Ls, DotDotListsTheParentAndKeepsTheWorkingFolder) {
  ImageFixture f;
  addAccount(f, "anna");
  SessionResult r = asAnna(f, "ls ..\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) +
                                      "\nThe folder \"home\" content:\n"
                                      "\n"
                                      "home          i-node\n"
                                      " ├ .             5\n"
                                      " ├ ..            0\n"
                                      " └ anna         21\n"
                                      "\n\n" +
                                      kWait + kAnnaHome);
}

TEST(Ls, DotDotInTheRootRefusesThenListsTheRoot) {
  ImageFixture f;
  SessionResult r = f.asRoot("cd /\nls ..\n\n\n");
  EXPECT_EQ(r.err, "You can not move upper than \"/\" folder.\n");
  std::string out = withoutClears(r.out);
  std::string start = loggedIn(kRootHome) + "\n" + kRootAtRoot + "\n" + kWait +
                      "The folder \"/\" content:\n\n/..           i-node\n ├ .             0\n";
  EXPECT_EQ(out.substr(0, start.size()), start);
  std::string end = " └ var          17\n\n\n" + kWait + kRootAtRoot;
  ASSERT_GE(out.size(), end.size());
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

TEST(Ls, AFileShowsTwoLinesAndWaits) {
  ImageFixture f;
  SessionResult r = f.asRoot("ls /etc/passwd/root\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kRootHome) + "\n" +
                "\"root\" is a file, not a folder. You can not see its content with this "
                "command.\n" +
                "Use \"cat\" command to see a file's content.\n" + kWait + kRootHome);
}

TEST(Ls, MissingTargetShowsTheLookupLineAndWaits) {
  ImageFixture f;
  SessionResult r = f.asRoot("ls ../nosuch\n\n");
  EXPECT_EQ(r.err, "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + kWait + kRootHome);
}

TEST(Ls, RefusedFoldersNamedAndTheRootAsSlash) {
  ImageFixture f;
  addAccount(f, "anna");
  makeFolder(f, "/tmp/secret");
  setMode(f, 22, 0x1E9);           // rwxr-x--x
  setMode(f, kRootFolder, 0x1E9);  // the root folder too
  setMode(f, kAnnaFolder, 0x069);  // --xr-x--x: anna may enter but not read
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "ls /tmp/secret\n\nls\n\nls /\n\ncd /home\nls ..\n\n");
  EXPECT_EQ(r.err, "");
  const std::string denied = "\nAccess denied.\nYou can not print the contents of the \"";
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + denied + "secret\" folder.\n\n" + kWait +
                                      kAnnaHome + denied + "anna\" folder.\n\n" + kWait +
                                      kAnnaHome + denied + "/\" folder.\n\n" + kWait + kAnnaHome +
                                      "\n" + "[anna @fs5 /home/ ]$ " + denied + "/\" folder.\n\n" +
                                      kWait + "[anna @fs5 /home/ ]$ ");
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Ls, OwnersShownByNameAndUnknownOwnersByTheFirstAccount) {
  ImageFixture f;
  int16_t anna = addAccount(f, "anna");
  {
    auto d = f.open();
    ASSERT_EQ(createFile(d->ds, false, anna, "/tmp/mine"), 0);
    ASSERT_EQ(createFile(d->ds, false, 9, "/tmp/orphan"), 0);
  }
  SessionResult r = f.asRoot("ls -l /tmp\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) +
                                      "\nThe folder \"tmp\" content:\n"
                                      "\n"
                                      "tmp           i-node\n"
                                      " ├ .            15      rwx r-x r-x   root\n"
                                      " ├ ..            0      rwx r-x r-x   root\n"
                                      " ╟ mine         22      rw- r-- r--   anna\n"
                                      " ╚ orphan       23      rw- r-- r--   root\n"
                                      "\n\n" +
                                      kWait + kRootHome);
}

}  // namespace
}  // namespace fs5::test
