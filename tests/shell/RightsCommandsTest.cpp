#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "storage/AllocMaps.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

const std::string kRootHome = "[root @fs5 /root/ ]# ";
const std::string kAnnaHome = "[anna @fs5 /home/anna/ ]$ ";
const std::string kWait = "Press Enter to continue.\n";

std::string loggedIn(const std::string& prompt) { return "Login: \nPassword: " + prompt + prompt; }

// An account made as adduser would: its number, its record and its home folder.
int16_t addAccount(ImageFixture& f, const std::string& name) {
  return f.addAccount(name, "pw" + name);
}

SessionResult asAnna(ImageFixture& f, const std::string& commands) {
  return f.as("anna", "pwanna", commands);
}

uint16_t modeOf(ImageFixture& f, int n) {
  return static_cast<uint16_t>(peek16(f.image(), inodeAt(n) + 2));
}

std::string pair(const std::string& before, const std::string& after) {
  return "The user rights before changing:\n" + before + "\nThe user rights after changing:\n" +
         after + "\n";
}

std::string success(const std::string& name) {
  return "The user rights for the folder or file \"" + name + "\" were successfully changed.\n\n" +
         kWait;
}

std::string refusal(const std::string& name) {
  return "You can not change the object \"" + name + "\" rights.\n\n" + kWait;
}

// With the account anna (record 20, home 21), /home/anna/f is i-node 22.
constexpr int kAnnaFile = 22;
constexpr int kAnnaFolder = 21;

void annaWithFile(ImageFixture& f) {
  addAccount(f, "anna");
  auto d = f.open();
  ASSERT_EQ(createFile(d->ds, false, 1, "/home/anna/f"), 0);
}

TEST(Chmod, OwnerRevokesWrite) {
  ImageFixture f;
  annaWithFile(f);
  SessionResult r = asAnna(f, "chmod u-w f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(
      withoutClears(r.out),
      loggedIn(kAnnaHome) + "\n" + pair("rw- r-- r-- ", "r-- r-- r-- ") + success("f") + kAnnaHome);
  EXPECT_EQ(modeOf(f, kAnnaFile), 0x124);
}

TEST(Chmod, EachLetterPrintsItsOwnPair) {
  ImageFixture f;
  annaWithFile(f);
  SessionResult r = asAnna(f, "chmod o+rwx f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) + "\n" + pair("rw- r-- r-- ", "rw- r-- r-- ") +
                pair("rw- r-- r-- ", "rw- r-- rw- ") + pair("rw- r-- rw- ", "rw- r-- rwx ") +
                success("f") + kAnnaHome);
  EXPECT_EQ(modeOf(f, kAnnaFile), 0x1A7);
}

TEST(Chmod, MoreThanThreeLettersAreAppliedOneByOne) {
  ImageFixture f;
  annaWithFile(f);
  SessionResult r = asAnna(f, "chmod u-rwxr f\n\n");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) + "\n" + pair("rw- r-- r-- ", "-w- r-- r-- ") +
                pair("-w- r-- r-- ", "--- r-- r-- ") + pair("--- r-- r-- ", "--- r-- r-- ") +
                pair("--- r-- r-- ", "--- r-- r-- ") + success("f") + kAnnaHome);
  EXPECT_EQ(modeOf(f, kAnnaFile), 0x024);
}

TEST(Chmod, SignWithoutLettersChangesNothingAndSucceeds) {
  ImageFixture f;
  annaWithFile(f);
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "chmod u+ f\n\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + "\n" + success("f") + kAnnaHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Chmod, WrongRightsArgumentsChangeNothingAndDoNotWait) {
  ImageFixture f;
  annaWithFile(f);
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r =
      asAnna(f, "chmod g+r f\nchmod u*r f\nchmod u+q f\nchmod u f\nchmod u+rq /home/anna/f\n");
  EXPECT_EQ(r.err, "");
  const std::string wrong = "\nWrong rights argument.\n" + kAnnaHome;
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + wrong + wrong + wrong + wrong + wrong);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Chmod, OthersMayNotChangeTheSuperuserMay) {
  ImageFixture f;
  annaWithFile(f);
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "chmod o+w /etc\n\nchmod g+q /tmp\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + "\n" + refusal("etc") + kAnnaHome + "\n" +
                                      refusal("tmp") + kAnnaHome);
  EXPECT_EQ(readBytes(f.image()), before);
  r = f.asRoot("chmod o+w /home/anna/f\n\n");
  EXPECT_EQ(
      withoutClears(r.out),
      loggedIn(kRootHome) + "\n" + pair("rw- r-- r-- ", "rw- r-- rw- ") + success("f") + kRootHome);
  EXPECT_EQ(modeOf(f, kAnnaFile), 0x1A6);
}

TEST(Chmod, MissingObjectIsRefusedForEveryone) {
  ImageFixture f;
  addAccount(f, "anna");
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult root = f.asRoot("chmod u+r nosuch\n\n");
  EXPECT_EQ(root.err, "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(withoutClears(root.out), loggedIn(kRootHome) + "\n" + refusal("nosuch") + kRootHome);
  SessionResult anna = asAnna(f, "chmod g+r /x/y\n\n");
  EXPECT_EQ(anna.err, "Folder or file \"x\" not found.\n");
  EXPECT_EQ(withoutClears(anna.out), loggedIn(kAnnaHome) + "\n" + refusal("y") + kAnnaHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Chmod, NeedsTwoArguments) {
  ImageFixture f;
  SessionResult r = f.asRoot("chmod u+r\n\nchmod\n\n");
  const std::string two = "\nThis command requires 2 arguments.\n" + kWait + kRootHome;
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + two + two);
}

TEST(Chmod, RootFolderIsNamedSlashAndTheWorkingFolderIsKept) {
  ImageFixture f;
  SessionResult r = f.asRoot("chmod o+w /\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(
      withoutClears(r.out),
      loggedIn(kRootHome) + "\n" + pair("rwx r-x r-x ", "rwx r-x rwx ") + success("/") + kRootHome);
  EXPECT_EQ(modeOf(f, 0), 0x1EF);
}

TEST(Chmod, ReservedModeBitsStay) {
  ImageFixture f;
  annaWithFile(f);
  poke(f.image(), inodeAt(kAnnaFile) + 3, {0xC1});
  SessionResult r = asAnna(f, "chmod o-r f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(modeOf(f, kAnnaFile), 0xC1A0);
}

TEST(Chown, OnlyTheSuperuser) {
  ImageFixture f;
  addAccount(f, "anna");
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "chown root\n\nchown\n\n");
  const std::string only =
      "\nA user's ownership can be changed ONLY by the superuser.\n" + kWait + kAnnaHome;
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) + only + only);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Chown, NeedsAnArgumentAndAKnownName) {
  ImageFixture f;
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = f.asRoot("chown\n\nchown nobody\n\n");
  EXPECT_EQ(r.err, "The username \"nobody\" not found.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\nThis command requires 1 argument.\n" +
                                      kWait + kRootHome + "\n" + kWait + kRootHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Chown, GivesTheWorkingFolderToTheNamedUser) {
  ImageFixture f;
  int16_t anna = addAccount(f, "anna");
  int16_t bob = addAccount(f, "bob");
  SessionResult r = f.asRoot("cd /home/anna\nchown bob\n\ncd /\nchown anna\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + "[root @fs5 /home/anna/ ]# " +
                                      "\n\n" + kWait + "[root @fs5 /home/anna/ ]# " + "\n" +
                                      "[root @fs5 / ]# " + "\n\n" + kWait + "[root @fs5 / ]# ");
  EXPECT_EQ(peek16(f.image(), inodeAt(kAnnaFolder)), bob);
  EXPECT_EQ(peek16(f.image(), inodeAt(0)), anna);
  EXPECT_EQ(modeOf(f, 0), 0x1ED);
}

TEST(Chown, AnEntryWhoseAccountCannotBeReadIsNotFound) {
  ImageFixture f;
  {
    auto d = f.open();
    ASSERT_EQ(createFolder(d->ds, false, 0, "/etc/passwd/ghost"), 0);
  }
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = f.asRoot("chown ghost\n\n");
  // Login reads the entry once for the users table; chown reads it afresh.
  EXPECT_EQ(r.err,
            "\"ghost\" is a folder,not a file.\n"
            "\"ghost\" is a folder,not a file.\n"
            "The username \"ghost\" not found.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + kWait + kRootHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

}  // namespace
}  // namespace fs5::test
