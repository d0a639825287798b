#include <gtest/gtest.h>

#include "fsops/Lookup.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

class Accounts : public ::testing::Test {
 protected:
  ImageFixture fx;
  std::unique_ptr<ImageFixture::Direct> io = fx.open();
  int16_t find(const std::string& text) {
    PathName p;
    p.parse(io->con, text);
    return resolveWhole(io->ds, false, p);
  }
};

TEST_F(Accounts, FormattingLeavesRootsRecord) {
  UserRecord r;
  ASSERT_EQ(findUserRecord(io->ds, "root", r), 0);
  EXPECT_EQ(r.number, 0);
  EXPECT_EQ(r.password, "secret1");
  Inode file;
  file.read(io->ds, find("/etc/passwd/root"));
  EXPECT_EQ(file.getOwner(), 0);
  EXPECT_EQ(file.getMode(), 0x180);  // rw-------: no one else reads a password
}

TEST_F(Accounts, RecordBytesHoldTheNumberAndThePassword) {
  ASSERT_EQ(addUserRecord(io->ds, "bob", "pw", 7), 0);
  Inode file;
  file.read(io->ds, find("/etc/passwd/bob"));
  ASSERT_EQ(file.getBlockCount(), 1);
  std::vector<uint8_t> expected(100, 0);
  expected[2] = 7;
  expected[4] = 'p';
  expected[5] = 'w';
  EXPECT_EQ(peek(fx.image(), blockAt(file.getBlock(0)), 100), expected);
  EXPECT_EQ(io->out.str() + io->err.str(), "");
}

TEST_F(Accounts, ThirtyCharacterPasswordsComeBackWhole) {
  std::string pw(30, 'p');
  ASSERT_EQ(addUserRecord(io->ds, "ann", pw, 2), 0);
  UserRecord r;
  ASSERT_EQ(findUserRecord(io->ds, "ann", r), 0);
  EXPECT_EQ(r.password, pw);
  EXPECT_EQ(r.number, 2);
}

TEST_F(Accounts, AnExistingAccountIsLeftAsItWas) {
  std::vector<uint8_t> before = readBytes(fx.image());
  EXPECT_EQ(addUserRecord(io->ds, "root", "other1", 5), 1);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST_F(Accounts, MissingAccountsAndUnsafeNamesAreNotFoundQuietly) {
  UserRecord r;
  EXPECT_EQ(findUserRecord(io->ds, "nobody", r), -1);
  EXPECT_EQ(findUserRecord(io->ds, "../passwd/root", r), -1);
  EXPECT_EQ(findUserRecord(io->ds, "..", r), -1);
  EXPECT_EQ(findUserRecord(io->ds, std::string(31, 'a'), r), -1);
  EXPECT_EQ(io->err.str(), "");
}

TEST_F(Accounts, AFolderInThePasswordFolderIsNotAnAccount) {
  ASSERT_EQ(addUserRecord(io->ds, "root", "x", 0), 1);
  PathName p;
  UserRecord r;
  ASSERT_EQ(addUserRecord(io->ds, "eve", "pw", 3), 0);
  // Turn eve's file into a folder record by hand.
  int16_t n = find("/etc/passwd/eve");
  poke(fx.image(), inodeAt(n) + 4, {1, 0});
  EXPECT_EQ(findUserRecord(io->ds, "eve", r), -1);
  EXPECT_EQ(io->err.str(), "\"eve\" is a folder,not a file.\n");
  poke(fx.image(), inodeAt(n) + 4, {2, 0});
}

TEST(UserNames, ValidNames) {
  EXPECT_TRUE(isValidUserName("anna"));
  EXPECT_TRUE(isValidUserName(std::string(30, 'a')));
  EXPECT_FALSE(isValidUserName(std::string(31, 'a')));
  EXPECT_FALSE(isValidUserName(""));
  EXPECT_FALSE(isValidUserName("."));
  EXPECT_FALSE(isValidUserName(".."));
  EXPECT_FALSE(isValidUserName("exit"));
  EXPECT_FALSE(isValidUserName("a/b"));
  EXPECT_FALSE(isValidUserName("a b"));
  EXPECT_FALSE(isValidUserName("a\tb"));
}

}  // namespace
}  // namespace fs5::test
