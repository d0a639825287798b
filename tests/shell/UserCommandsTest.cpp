#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "shell/ShellState.h"
#include "tests/support/TestSupport.h"
#include "users/UserAdmin.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;

const std::string kClear(25, '\n');
const std::string kRoot = "[root @fs5 /root/ ]# ";
const std::string kBob = "[bob @fs5 /home/bob/ ]$ ";
const std::string kWait = "Press Enter to continue.\n";
const std::string kDialogue = "\nEnter the user password (max. 30 tokens):\n";
const std::string kLoggedIn = kClear + "Login: \nPassword: " + kClear;

int16_t inodeOf(ImageFixture& fx, const std::string& path) {
  auto dir = fx.open();
  PathName p;
  p.parse(dir->con, path);
  return resolveWhole(dir->ds, false, p);
}

int16_t recordNumber(ImageFixture& fx, const std::string& name) {
  int16_t account = inodeOf(fx, "/etc/passwd/" + name);
  return peek16(fx.image(), blockAt(peek16(fx.image(), inodeAt(account) + 6)) + 2);
}

uint8_t userMapByte(const std::string& image, int u) { return peek(image, kUserMap + u, 1)[0]; }

TEST(AccountCommands, OrdinaryUserIsRefusedEvenWithoutArgument) {
  ImageFixture fx;
  {
    auto dir = fx.open("bobpass\n");
    ASSERT_EQ(addUser(dir->ds, "bob"), 0);
  }
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.as("bob", "bobpass", "adduser\n\ndeluser bob\n\n");
  EXPECT_EQ(r.out, kLoggedIn + kBob + kClear + kBob +
                       "\nA user account can be added ONLY by the superuser.\n" + kWait + kClear +
                       kBob + "\nA user account can be deleted ONLY by the superuser.\n" + kWait +
                       kClear + kBob + kClear);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AccountCommands, SuperuserWithoutArgument) {
  ImageFixture fx;
  SessionResult r = fx.asRoot("adduser\n\ndeluser\n\n");
  EXPECT_EQ(r.out, kLoggedIn + kRoot + kClear + kRoot + "\nThis command requires 1 argument.\n" +
                       kWait + kClear + kRoot + "\nThis command requires 1 argument.\n" + kWait +
                       kClear + kRoot + kClear);
}

TEST(AdduserCommand, MakesAnAccountTheNewUserCanLogInTo) {
  ImageFixture fx;
  SessionResult r = fx.asRoot("adduser bob\nbobpass\n\n");
  // The end of line after the password is read as the next, empty, command line.
  EXPECT_EQ(r.out, kLoggedIn + kRoot + kClear + kRoot + "\n" + kDialogue + kClear +
                       "The user account \"bob\" was successfully created.\n\n" + kWait + kClear +
                       kRoot + kClear + kRoot + kClear);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(recordNumber(fx, "bob"), 1);
  EXPECT_EQ(peek16(fx.image(), inodeAt(inodeOf(fx, "/home/bob"))), 1);  // owner

  r = fx.as("bob", "bobpass", "");
  EXPECT_EQ(r.out, kLoggedIn + kBob + kClear + kBob + kClear);
}

TEST(AdduserCommand, InvalidNameIsRefusedWithoutAskingThePassword) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("adduser exit\n\n");
  EXPECT_EQ(r.out, kLoggedIn + kRoot + kClear + kRoot +
                       "\nThe user name \"exit\" is not valid.\n\n" + kWait + kClear + kRoot +
                       kClear);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(DeluserCommand, DeletesTheAccountAndTheUserCanNoLongerLogIn) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  fx.asRoot("adduser bob\nbobpass\n\n");
  SessionResult r = fx.asRoot("deluser bob\n\n");
  EXPECT_EQ(r.out, kLoggedIn + kRoot + kClear + kRoot + "\n" + kClear +
                       "The user account \"bob\" was successfully deleted.\n\n" + kWait + kClear +
                       kRoot + kClear);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);

  r = runSession(fx.image(), "bob\nbobpass\n\nexit\n");
  EXPECT_EQ(r.out, kLoggedIn + "Wrong login.\nPress \"Enter\" to continue.\n" + kClear + "Login: ");
}

TEST(DeluserCommand, RootAndUnknownNamesAreRefused) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("deluser root\n\ndeluser zed\n\n");
  EXPECT_EQ(r.out, kLoggedIn + kRoot + kClear + kRoot +
                       "\nThe superuser \"root\" account can not be deleted.\n\n" + kWait + kClear +
                       kRoot +
                       "\nThe user \"zed\" does not exist.\nThere is no user account to "
                       "delete.\n\n" +
                       kWait + kClear + kRoot + kClear);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AccountCommands, NumbersFromOneAndReuseAfterDeluser) {
  ImageFixture fx;
  fx.asRoot("adduser bob\npw\n\nadduser carl\npw\n\ndeluser bob\n\nadduser dave\npw\n\n");
  EXPECT_LT(inodeOf(fx, "/etc/passwd/bob"), 0);
  EXPECT_LT(inodeOf(fx, "/home/bob"), 0);
  EXPECT_EQ(recordNumber(fx, "carl"), 2);
  EXPECT_EQ(recordNumber(fx, "dave"), 1);
  EXPECT_EQ(peek16(fx.image(), inodeAt(inodeOf(fx, "/home/dave"))), 1);
  EXPECT_EQ(userMapByte(fx.image(), 1), 1);
  EXPECT_EQ(userMapByte(fx.image(), 2), 1);
  EXPECT_EQ(userMapByte(fx.image(), 3), 0);
}

std::vector<std::string> tableOf(const ShellState& state) {
  std::vector<std::string> rows;
  for (const UserEntry& e : state.users()) rows.push_back(std::to_string(e.number) + ":" + e.name);
  return rows;
}

TEST(AccountCommands, UsersTableChangesOnlyAtTheNextLogin) {
  ImageFixture fx;
  std::istringstream in(
      "root\nsecret1\nadduser bob\nbobpass\n\n"
      "root\nsecret1\ndeluser bob\n\n"
      "root\nsecret1\n");
  std::ostringstream out, err;
  Console con(in, out, err);
  FileDiskStream ds(con, fx.image());
  ASSERT_TRUE(ds.loadLayout());
  ShellState state(con);

  auto runNextCommand = [&](const std::string& word) {
    ASSERT_TRUE(state.readCommandLine());  // the end of line after the password
    ASSERT_TRUE(state.readCommandLine());
    ASSERT_EQ(state.command(), word);
    state.dispatchCommand(ds, state.getCurrentUser());
    state.resetCommand();
  };

  state.login(ds);
  EXPECT_EQ(tableOf(state), (std::vector<std::string>{"0:root"}));
  runNextCommand("adduser");
  EXPECT_EQ(tableOf(state), (std::vector<std::string>{"0:root"}));
  state.login(ds);
  EXPECT_EQ(tableOf(state), (std::vector<std::string>{"0:root", "1:bob"}));
  runNextCommand("deluser");
  EXPECT_EQ(tableOf(state), (std::vector<std::string>{"0:root", "1:bob"}));
  state.login(ds);
  EXPECT_EQ(tableOf(state), (std::vector<std::string>{"0:root"}));
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace fs5::test
