#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Delete.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"
#include "users/UserAdmin.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Direct = ImageFixture::Direct;

const std::string kClear(25, '\n');
const std::string kDialogue = "\nEnter the user password (max. 30 tokens):\n";

int16_t inodeOf(Direct& d, const std::string& path) {
  PathName p;
  p.parse(d.con, path);
  return resolveWhole(d.ds, false, p);
}

int16_t ownerOf(const std::string& image, int inode) { return peek16(image, inodeAt(inode)); }
int16_t firstBlockOf(const std::string& image, int inode) {
  return peek16(image, inodeAt(inode) + 6);
}
uint8_t userMapByte(const std::string& image, int u) { return peek(image, kUserMap + u, 1)[0]; }

// The user number stored in the account file of `name`.
int16_t recordNumber(ImageFixture& fx, const std::string& name) {
  auto dir = fx.open();
  int16_t account = inodeOf(*dir, "/etc/passwd/" + name);
  return peek16(fx.image(), blockAt(firstBlockOf(fx.image(), account)) + 2);
}

// Marks used every free number of a map but the first `keep`.
void leaveFree(const std::string& image, int64_t mapStart, int count, int keep) {
  Bytes map = peek(image, mapStart, count);
  for (int n = 0; n < count; ++n) {
    if (map[n] != 0) continue;
    if (keep > 0)
      --keep;
    else
      poke(image, mapStart + n, {1});
  }
}

int16_t addUserTyping(ImageFixture& fx, const std::string& name, const std::string& typed,
                      std::string* out = nullptr, std::string* err = nullptr) {
  auto dir = fx.open(typed);
  int16_t result = addUser(dir->ds, name);
  if (out) *out = dir->out.str();
  if (err) *err = dir->err.str();
  return result;
}

TEST(AddUser, MakesRecordAndHomeFolderOwnedByTheNewNumber) {
  ImageFixture fx;
  std::string out, err;
  EXPECT_EQ(addUserTyping(fx, "bob", "bobpass\n", &out, &err), 0);
  EXPECT_EQ(out, kDialogue + kClear + "The user account \"bob\" was successfully created.\n");
  EXPECT_EQ(err, "");
  const std::string& image = fx.image();
  EXPECT_EQ(userMapByte(image, 1), 1);
  EXPECT_EQ(userMapByte(image, 2), 0);

  auto dir = fx.open();
  int16_t account = inodeOf(*dir, "/etc/passwd/bob");
  ASSERT_GE(account, 0);
  EXPECT_EQ(ownerOf(image, account), 0);
  EXPECT_EQ(peek16(image, inodeAt(account) + 4), 2);    // a file
  EXPECT_EQ(peek16(image, inodeAt(account) + 206), 1);  // one datablock
  Bytes record(100, 0);
  record[2] = 1;  // user number 1, little-endian
  std::string password = "bobpass";
  std::copy(password.begin(), password.end(), record.begin() + 4);
  EXPECT_EQ(peek(image, blockAt(firstBlockOf(image, account)), 100), record);

  int16_t home = inodeOf(*dir, "/home/bob");
  ASSERT_GE(home, 0);
  EXPECT_EQ(ownerOf(image, home), 1);
  EXPECT_EQ(static_cast<uint16_t>(peek16(image, inodeAt(home) + 2)), 0x1ED);
  EXPECT_EQ(peek16(image, inodeAt(home) + 4), 1);  // a folder
  int16_t homeBlock = firstBlockOf(image, home);
  EXPECT_EQ(peek16(image, blockAt(homeBlock)), 2);
  EXPECT_EQ(peek16(image, blockAt(homeBlock) + 2), inodeOf(*dir, "/home"));
  EXPECT_EQ(peek(image, blockAt(homeBlock) + 4, 3), (Bytes{'.', '.', 0}));
  EXPECT_EQ(peek16(image, blockAt(homeBlock) + 34), home);
  EXPECT_EQ(peek(image, blockAt(homeBlock) + 36, 2), (Bytes{'.', 0}));
}

TEST(AddUser, NumbersCountUpFromOneAndComeBackAfterDeletion) {
  ImageFixture fx;
  ASSERT_EQ(addUserTyping(fx, "bob", "pw\n"), 0);
  ASSERT_EQ(addUserTyping(fx, "carl", "pw\n"), 0);
  EXPECT_EQ(recordNumber(fx, "bob"), 1);
  EXPECT_EQ(recordNumber(fx, "carl"), 2);
  {
    auto dir = fx.open();
    ASSERT_EQ(deleteUser(dir->ds, "bob"), 0);
  }
  EXPECT_EQ(userMapByte(fx.image(), 1), 0);
  ASSERT_EQ(addUserTyping(fx, "dave", "pw\n"), 0);
  EXPECT_EQ(recordNumber(fx, "dave"), 1);
  ASSERT_EQ(addUserTyping(fx, "erin", "pw\n"), 0);
  EXPECT_EQ(recordNumber(fx, "erin"), 3);
}

TEST(AddUser, ThirtyCharacterPasswordAcceptedLongerOneAskedAgain) {
  ImageFixture fx;
  std::string out;
  std::string thirty(30, 'q');
  EXPECT_EQ(addUserTyping(fx, "bob", std::string(31, 'p') + "\n" + thirty + "\n", &out), 0);
  EXPECT_EQ(out, kDialogue + "Do not exceed the limit of 30 tokens.\n" + kDialogue + kClear +
                     "The user account \"bob\" was successfully created.\n");
  auto dir = fx.open();
  int64_t record = blockAt(firstBlockOf(fx.image(), inodeOf(*dir, "/etc/passwd/bob")));
  EXPECT_EQ(peek(fx.image(), record + 4, 30), Bytes(thirty.begin(), thirty.end()));
  EXPECT_EQ(peek(fx.image(), record + 34, 66), Bytes(66, 0));
}

TEST(AddUser, NamesNoAccountCanHaveAreRefusedBeforeTheDialogue) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  const std::vector<std::string> names = {
      ".", "..", "exit", "a/b", "a b", "tab\tx", std::string(31, 'n')};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    auto dir = fx.open("pw\n");
    EXPECT_EQ(addUser(dir->ds, name), -1);
    EXPECT_EQ(dir->out.str(), "The user name \"" + name + "\" is not valid.\n");
    EXPECT_EQ(dir->err.str(), "");
    std::string unread;
    EXPECT_TRUE(dir->con.readWord(unread));
    EXPECT_EQ(unread, "pw");  // no password was asked
  }
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AddUser, HomeFolderWithoutAccountIsRefusedBeforeTheDialogue) {
  ImageFixture fx;
  {
    auto dir = fx.open();
    createFolder(dir->ds, false, 0, "/home/carl");
  }
  Bytes before = readBytes(fx.image());
  auto dir = fx.open("pw\n");
  EXPECT_EQ(addUser(dir->ds, "carl"), -1);
  EXPECT_EQ(dir->out.str(), "The home folder \"carl\" already exists.\n");
  EXPECT_EQ(dir->err.str(), "");
  std::string unread;
  EXPECT_TRUE(dir->con.readWord(unread));
  EXPECT_EQ(unread, "pw");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AddUser, ExistingAccountIsReportedAndItsNumberGivenBack) {
  ImageFixture fx;
  ASSERT_EQ(addUserTyping(fx, "bob", "pw\n"), 0);
  Bytes before = readBytes(fx.image());
  std::string out, err;
  EXPECT_EQ(addUserTyping(fx, "bob", "other1\n", &out, &err), -1);
  EXPECT_EQ(out, kDialogue + "The user \"bob\" already exists.\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AddUser, EndOfInputInTheDialogueMakesNothing) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  std::string out, err;
  EXPECT_EQ(addUserTyping(fx, "bob", "", &out, &err), -1);
  EXPECT_EQ(out, kDialogue);
  EXPECT_EQ(err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AddUser, NoFreeUserNumberMakesNothing) {
  ImageFixture fx;
  leaveFree(fx.image(), kUserMap, 100, 0);
  Bytes before = readBytes(fx.image());
  std::string out, err;
  EXPECT_EQ(addUserTyping(fx, "bob", "pw\n", &out, &err), -1);
  EXPECT_EQ(out, kDialogue);
  EXPECT_EQ(err, "There are no free user numbers.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AddUser, RecordNotWrittenIsUndone) {
  // A folder of the account's name in /etc/passwd: the record can not be written.
  ImageFixture fx;
  {
    auto dir = fx.open();
    createFolder(dir->ds, false, 0, "/etc/passwd/dave");
  }
  Bytes before = readBytes(fx.image());
  std::string out, err;
  EXPECT_EQ(addUserTyping(fx, "dave", "pw\n", &out, &err), -1);
  EXPECT_EQ(out, kDialogue + "The user account \"dave\" was not created.\n");
  EXPECT_EQ(err, "The folder or file \"dave\" already exists.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(AddUser, HomeFolderThatCannotBeMadeUndoesTheAccount) {
  struct Case {
    int64_t map;
    int count;
    int keep;  // what the account file needs: its i-node, or its datablock and /etc/passwd's
    std::string allocatorLine;
  };
  for (const Case& c : {Case{kInodeMap, 100, 1, "There are no free i-node blocks.\n"},
                        Case{kBlockMap, 1000, 2, "There are no free datablocks.\n"}}) {
    SCOPED_TRACE(c.allocatorLine);
    ImageFixture fx;
    leaveFree(fx.image(), c.map, c.count, c.keep);
    Bytes before = readBytes(fx.image());
    std::string out, err;
    EXPECT_EQ(addUserTyping(fx, "bob", "pw\n", &out, &err), -1);
    EXPECT_EQ(out, kDialogue + "The user account \"bob\" was not created.\n");
    EXPECT_EQ(err, c.allocatorLine + "Can not create folder \"bob\".\n");
    EXPECT_EQ(readBytes(fx.image()), before);
  }
}

TEST(DeleteUser, RootAndNamesWithoutAccountAreRefusedUntouched) {
  ImageFixture fx;
  {
    auto dir = fx.open();
    createFolder(dir->ds, false, 0, "/etc/passwd/x");  // not an account file
    createFolder(dir->ds, false, 0, "/home/x");
  }
  Bytes before = readBytes(fx.image());
  auto dir = fx.open();
  EXPECT_EQ(deleteUser(dir->ds, "root"), -1);
  EXPECT_EQ(dir->out.str(), "The superuser \"root\" account can not be deleted.\n");
  for (const std::string name : {"zed", "..", ".", "a/b", "x"}) {
    SCOPED_TRACE(name);
    dir->out.str("");
    EXPECT_EQ(deleteUser(dir->ds, name), -1);
    EXPECT_EQ(dir->out.str(), "The user \"" + name +
                                  "\" does not exist.\n"
                                  "There is no user account to delete.\n");
  }
  EXPECT_EQ(dir->err.str(), "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(DeleteUser, AccountHomeTreeAndNumberGoLeavingTheImageAsBefore) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  ASSERT_EQ(addUserTyping(fx, "bob", "pw\n"), 0);
  {
    auto dir = fx.open(std::string(250, 'n') + "\x1b\n");
    createFolder(dir->ds, false, 1, "/home/bob/docs");
    createFile(dir->ds, false, 1, "/home/bob/docs/notes");
    ASSERT_EQ(writeFile(dir->ds, "/home/bob/docs/notes"), 0);
    createFile(dir->ds, false, 1, "/home/bob/top");
  }
  auto dir = fx.open();
  EXPECT_EQ(deleteUser(dir->ds, "bob"), 0);
  // docs is emptied and removed (top moves into its slot), then top, then the home folder.
  EXPECT_EQ(dir->out.str(),
            kClear + "\n" + kClear + "The user account \"bob\" was successfully deleted.\n");
  EXPECT_EQ(dir->err.str(), "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(DeleteUser, RemainingObjectsPassToTheSuperuser) {
  ImageFixture fx;
  ASSERT_EQ(addUserTyping(fx, "bob", "pw\n"), 0);
  int16_t x, y;
  {
    auto dir = fx.open();
    createFile(dir->ds, false, 1, "/tmp/x");
    createFolder(dir->ds, false, 1, "/tmp/y");
    x = inodeOf(*dir, "/tmp/x");
    y = inodeOf(*dir, "/tmp/y");
  }
  auto dir = fx.open();
  EXPECT_EQ(deleteUser(dir->ds, "bob"), 0);
  EXPECT_EQ(dir->out.str(), kClear +
                                "The remaining folders and files of \"bob\" now belong to "
                                "\"root\".\n"
                                "The user account \"bob\" was successfully deleted.\n");
  EXPECT_EQ(ownerOf(fx.image(), x), 0);
  EXPECT_EQ(ownerOf(fx.image(), y), 0);
  EXPECT_EQ(static_cast<uint16_t>(peek16(fx.image(), inodeAt(x) + 2)), 0x1A4);
  ASSERT_EQ(addUserTyping(fx, "carl", "pw\n"), 0);
  EXPECT_EQ(recordNumber(fx, "carl"), 1);
  EXPECT_EQ(ownerOf(fx.image(), x), 0);  // not handed on to the number's next holder
}

TEST(DeleteUser, RecordHoldingNumberZeroGivesNothingBack) {
  ImageFixture fx;
  {
    auto dir = fx.open();
    ASSERT_EQ(addUserRecord(dir->ds, "eve", "evepass", 0), 0);
    createFolder(dir->ds, false, 0, "/home/eve");
  }
  auto dir = fx.open();
  EXPECT_EQ(deleteUser(dir->ds, "eve"), 0);
  EXPECT_EQ(dir->out.str(), kClear + "The user account \"eve\" was successfully deleted.\n");
  EXPECT_EQ(dir->err.str(), "");
  EXPECT_EQ(userMapByte(fx.image(), 0), 1);
  EXPECT_LT(inodeOf(*dir, "/etc/passwd/eve"), 0);
}

TEST(DeleteUser, MissingHomeFolderMakesItIncomplete) {
  ImageFixture fx;
  ASSERT_EQ(addUserTyping(fx, "bob", "pw\n"), 0);
  {
    auto dir = fx.open();
    ASSERT_EQ(deleteFolderTree(dir->ds, false, "/home/bob"), 0);
  }
  auto dir = fx.open();
  EXPECT_EQ(deleteUser(dir->ds, "bob"), -1);
  EXPECT_EQ(dir->err.str(), "Folder or file \"bob\" not found.\n");
  EXPECT_EQ(dir->out.str(), "The user account \"bob\" was not deleted completely.\n");
  EXPECT_EQ(userMapByte(fx.image(), 1), 0);
  EXPECT_LT(inodeOf(*dir, "/etc/passwd/bob"), 0);
}

}  // namespace
}  // namespace fs5::test
