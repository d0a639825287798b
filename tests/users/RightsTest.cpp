#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"
#include "users/Rights.h"

namespace fs5::test {
namespace {

constexpr int kFile = 20;  // /tmp/f, the first i-node after the standard image's

// Makes /tmp/f owned by `owner` with the given mode word.
void makeObject(ImageFixture& f, int16_t owner, uint16_t mode) {
  auto d = f.open();
  ASSERT_EQ(createFile(d->ds, false, owner, "/tmp/f"), 0);
  poke(f.image(), inodeAt(kFile) + 2,
       {static_cast<uint8_t>(mode), static_cast<uint8_t>(mode >> 8)});
}

struct Answer {
  bool granted;
  std::string out;
};

Answer ask(ImageFixture& f, int16_t user, const std::string& path, int k) {
  auto d = f.open();
  PathName p;
  p.parse(d->con, path);
  bool granted = checkAccess(d->ds, user, p, p.getDepth() - 1, k);
  EXPECT_EQ(d->err.str(), "");
  return {granted, d->out.str()};
}

// "rwx" for the three rights asked in turn, "-" where refused, and the output of all three.
std::string answers(ImageFixture& f, int16_t user, const std::string& path = "/tmp/f") {
  std::string got;
  for (int k : {RIGHT_READ, RIGHT_WRITE, RIGHT_EXECUTE}) {
    Answer a = ask(f, user, path, k);
    got.push_back(a.granted ? "rwx"[k - RIGHT_READ] : '-');
    EXPECT_EQ(a.out, a.granted ? "" : "Access denied.\n") << "user " << user << " right " << k;
  }
  return got;
}

TEST(CheckAccess, OwnerBitsOrOthersBitsAndTheSuperuserAlways) {
  ImageFixture f;
  makeObject(f, 3, 0x1A4);  // rw-r--r--
  EXPECT_EQ(answers(f, 3), "rw-");
  EXPECT_EQ(answers(f, 5), "r--");
  EXPECT_EQ(answers(f, 0), "rwx");
}

TEST(CheckAccess, GroupBitsAloneGrantNothing) {
  ImageFixture f;
  makeObject(f, 3, 0x038);  // ---rwx---
  EXPECT_EQ(answers(f, 3), "---");
  EXPECT_EQ(answers(f, 5), "---");
  EXPECT_EQ(answers(f, 0), "rwx");
}

TEST(CheckAccess, OthersBitsGrantEveryoneTheOwnerIncluded) {
  ImageFixture f;
  makeObject(f, 3, 0x007);  // ------rwx
  EXPECT_EQ(answers(f, 3), "rwx");
  EXPECT_EQ(answers(f, 5), "rwx");
}

TEST(CheckAccess, OwnerBitsServeOnlyTheOwner) {
  ImageFixture f;
  makeObject(f, 3, 0x1C0);  // rwx------
  EXPECT_EQ(answers(f, 3), "rwx");
  EXPECT_EQ(answers(f, 4), "---");
}

TEST(CheckAccess, ReservedBitsAreNotRights) {
  ImageFixture f;
  makeObject(f, 3, 0xFE00);
  EXPECT_EQ(answers(f, 3), "---");
  EXPECT_EQ(answers(f, 0), "rwx");
}

TEST(CheckAccess, MissingObjectPassesOnlyTheSuperuser) {
  ImageFixture f;
  EXPECT_EQ(answers(f, 3, "/tmp/nosuch"), "---");
  EXPECT_EQ(answers(f, 0, "/tmp/nosuch"), "rwx");
}

TEST(CheckAccess, NegativeIndexNamesTheRootFolder) {
  ImageFixture f;
  poke(f.image(), inodeAt(0) + 2, {0x00, 0x00});  // the root folder: no rights at all
  auto d = f.open();
  PathName p;
  p.parse(d->con, "/x");  // the holder of a one-component path
  EXPECT_FALSE(checkAccess(d->ds, 3, p, -1, RIGHT_WRITE));
  EXPECT_TRUE(checkAccess(d->ds, 0, p, -1, RIGHT_WRITE));
  poke(f.image(), inodeAt(0) + 2, {0x02, 0x00});  // others write only
  EXPECT_TRUE(checkAccess(d->ds, 3, p, -1, RIGHT_WRITE));
  EXPECT_EQ(d->out.str(), "Access denied.\n");
}

TEST(ChangeRights, PrintsBeforeAndAfterAndKeepsReservedBits) {
  ImageFixture f;
  makeObject(f, 3, 0xA000 | 0x1A4);
  auto d = f.open();
  PathName p;
  p.parse(d->con, "/tmp/f");
  EXPECT_TRUE(changeRights(d->ds, p, 1, 2, false));
  EXPECT_TRUE(changeRights(d->ds, p, 1, 9, true));
  EXPECT_EQ(d->out.str(),
            "The user rights before changing:\nrw- r-- r-- \n"
            "The user rights after changing:\nr-- r-- r-- \n"
            "The user rights before changing:\nr-- r-- r-- \n"
            "The user rights after changing:\nr-- r-- r-x \n");
  EXPECT_EQ(peek(f.image(), inodeAt(kFile) + 2, 2), (std::vector<uint8_t>{0x25, 0xA1}));
}

TEST(ChangeRights, MissingObjectPrintsTheLookupLineOnly) {
  ImageFixture f;
  std::vector<uint8_t> before = readBytes(f.image());
  auto d = f.open();
  PathName p;
  p.parse(d->con, "/tmp/nosuch");
  EXPECT_FALSE(changeRights(d->ds, p, 1, 1, true));
  EXPECT_EQ(d->out.str(), "");
  EXPECT_EQ(d->err.str(), "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(ChangeOwner, WritesTheOwnerOfTheObjectOrOfTheRoot) {
  ImageFixture f;
  makeObject(f, 0, 0x1A4);
  auto d = f.open();
  PathName p;
  p.parse(d->con, "/tmp/f");
  changeOwner(d->ds, p, 1, 7);
  EXPECT_EQ(peek16(f.image(), inodeAt(kFile)), 7);
  changeOwner(d->ds, p, -1, 4);
  EXPECT_EQ(peek16(f.image(), inodeAt(0)), 4);
  EXPECT_EQ(peek(f.image(), inodeAt(0) + 2, 2), (std::vector<uint8_t>{0xED, 0x01}));
  EXPECT_EQ(d->out.str() + d->err.str(), "");
}

TEST(MayChangeRights, OwnerAndSuperuserOnlyAndNobodyForAMissingObject) {
  ImageFixture f;
  makeObject(f, 3, 0x1FF);
  auto d = f.open();
  PathName p;
  p.parse(d->con, "/tmp/f");
  EXPECT_TRUE(mayChangeRights(d->ds, 3, p, 1));
  EXPECT_TRUE(mayChangeRights(d->ds, 0, p, 1));
  EXPECT_FALSE(mayChangeRights(d->ds, 4, p, 1));
  EXPECT_EQ(d->err.str(), "");
  PathName missing;
  missing.parse(d->con, "/tmp/nosuch");
  EXPECT_FALSE(mayChangeRights(d->ds, 0, missing, 1));
  EXPECT_FALSE(mayChangeRights(d->ds, 3, missing, 1));
  EXPECT_EQ(d->err.str(),
            "Folder or file \"nosuch\" not found.\nFolder or file \"nosuch\" not found.\n");
  EXPECT_EQ(d->out.str(), "");
}

TEST(ParseRightsArgument, OwnerOrOthersThenSignThenLetters) {
  RightsChange c;
  ASSERT_TRUE(parseRightsArgument("u+rw", c));
  EXPECT_TRUE(c.grant);
  EXPECT_EQ(c.rights, (std::vector<int>{1, 2}));
  ASSERT_TRUE(parseRightsArgument("o-x", c));
  EXPECT_FALSE(c.grant);
  EXPECT_EQ(c.rights, (std::vector<int>{9}));
  ASSERT_TRUE(parseRightsArgument("o+xrwr", c));
  EXPECT_EQ(c.rights, (std::vector<int>{9, 7, 8, 7}));
  ASSERT_TRUE(parseRightsArgument("u+", c));
  EXPECT_TRUE(c.rights.empty());
}

TEST(ParseRightsArgument, WrongArgumentsAreRefusedWhole) {
  for (const char* text : {"g+r", "u*r", "u+q", "u", "", "+r", "U+r", "u+rq", "u+r ", "uo+r"}) {
    RightsChange c{true, {1}};
    EXPECT_FALSE(parseRightsArgument(text, c)) << text;
    EXPECT_TRUE(c.rights.empty()) << text;
  }
}

}  // namespace
}  // namespace fs5::test
