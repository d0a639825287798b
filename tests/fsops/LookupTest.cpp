#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

class Lookup : public ::testing::Test {
 protected:
  ImageFixture fx;
  std::unique_ptr<ImageFixture::Direct> io = fx.open();
  PathName path(const std::string& text) {
    PathName p;
    p.parse(io->con, text);
    return p;
  }
};

TEST_F(Lookup, WalksFromTheRootThroughEachComponent) {
  EXPECT_EQ(resolvePath(io->ds, true, path("/etc/passwd"), 1), 18);
  EXPECT_EQ(resolvePath(io->ds, true, path("/etc/passwd"), 0), 4);
  EXPECT_EQ(resolveWhole(io->ds, true, path("/etc/passwd/root")), 19);
  EXPECT_EQ(resolveWhole(io->ds, true, path("/")), 0);
  EXPECT_EQ(resolveWhole(io->ds, true, path("/home/..")), 0);
  EXPECT_EQ(resolveWhole(io->ds, true, path("/etc/./passwd/..")), 4);
  EXPECT_EQ(io->err.str(), "");
}

TEST_F(Lookup, AMissingComponentIsNamedOnce) {
  EXPECT_EQ(resolveWhole(io->ds, true, path("/nosuch/x/y")), -1);
  EXPECT_EQ(io->err.str(), "Folder or file \"nosuch\" not found.\n");
  io->err.str("");
  EXPECT_EQ(resolveWhole(io->ds, false, path("/nosuch")), -1);
  EXPECT_EQ(io->err.str(), "");
}

TEST_F(Lookup, EmptyComponentsNeverNameAnything) {
  EXPECT_EQ(resolveWhole(io->ds, true, path("/etc/")), -1);
  EXPECT_EQ(io->err.str(), "Folder or file \"\" not found.\n");
  io->err.str("");
  EXPECT_EQ(findInFolder(io->ds, true, 0, ""), -1);
  EXPECT_EQ(io->err.str(), "Folder or file \"\" not found.\n");
}

TEST_F(Lookup, AFileBeforeTheLastComponentIsNotFound) {
  EXPECT_EQ(resolveWhole(io->ds, true, path("/etc/passwd/root/x")), -1);
  EXPECT_EQ(io->err.str(), "Folder or file \"x\" not found.\n");
}

TEST_F(Lookup, ThirtyCharacterNamesAreFoundAndLongerOnesNamedWhole) {
  std::string name30(30, 'n');
  ASSERT_EQ(createFolder(io->ds, false, 0, "/tmp/" + name30), 0);
  EXPECT_GT(resolveWhole(io->ds, true, path("/tmp/" + name30)), 0);
  EXPECT_EQ(resolveWhole(io->ds, true, path("/tmp/" + name30 + "x")), -1);
  EXPECT_EQ(io->err.str(), "Folder or file \"" + name30 + "x\" not found.\n");
}

TEST_F(Lookup, SlotsPastTheCountAreNotCompared) {
  // A name left in a slot past the block's count (a damaged image) is not an entry.
  int64_t rootBlock0 = blockAt(0);
  poke(fx.image(), rootBlock0, {2, 0});  // the root's first block now counts ".." and "." only
  EXPECT_EQ(resolveWhole(io->ds, false, path("/bin")), -1);
}

}  // namespace
}  // namespace fs5::test
