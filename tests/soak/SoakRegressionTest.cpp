// Faults the soak found, each kept as a transcript of the smallest session that shows it.
#include <gtest/gtest.h>

#include <string>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

void makeFolders(ImageFixture& fx, const std::string& name, int levels, std::string& path) {
  auto d = fx.open();
  path.clear();
  for (int i = 0; i < levels; ++i) {
    path += "/" + name;
    ASSERT_EQ(createFolder(d->ds, false, 0, path), 0) << d->err.str();
  }
}

void makeFile(ImageFixture& fx, const std::string& path, const std::string& typed) {
  auto d = fx.open(typed + "\x1b");
  ASSERT_EQ(createFile(d->ds, false, 0, path), 0) << d->err.str();
  ASSERT_EQ(writeFile(d->ds, path), 0) << d->err.str();
}

// The entries of the folder at `path` other than "." and "..", or -1 when it is missing.
int childCount(ImageFixture& fx, const std::string& path) {
  auto d = fx.open();
  PathName p;
  p.parse(d->con, path);
  Inode node;
  if (node.read(d->ds, resolveWhole(d->ds, false, p)) < 0 || !node.isFolder()) return -1;
  int count = 0;
  for (int b = 0; b < node.getBlockCount(); ++b) {
    FolderBlock block;
    block.read(d->ds, node.getBlock(b));
    count += block.getCount();
  }
  return count - 2;
}

bool exists(ImageFixture& fx, const std::string& path) {
  auto d = fx.open();
  PathName p;
  p.parse(d->con, path);
  return resolveWhole(d->ds, false, p) >= 0;
}

// Found by the soak (seed 4): mv put a file into a folder 8 levels deep, where no path can
// name it, so it could be neither read nor deleted, and no folder above it either.
TEST(SoakRegression, MoveBelowTheDepthLimitIsRefused) {
  ImageFixture fx;
  std::string deep;
  makeFolders(fx, "d", 8, deep);
  makeFile(fx, "/tmp/x", "kept");
  SessionResult r = fx.asRoot("mv /tmp/x " + deep + "\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "The maximum pathname depth can not exceed 8 levels.\n"
            "The pathname was not deshifrated.\n");
  EXPECT_EQ(withoutClears(r.out),
            "Login: \nPassword: [root @fs5 /root/ ]# [root @fs5 /root/ ]# \n"
            "\nPress Enter to continue.\n[root @fs5 /root/ ]# ");
  EXPECT_TRUE(exists(fx, "/tmp/x"));
  EXPECT_EQ(childCount(fx, deep), 0);
  SessionResult cat = fx.asRoot("cat /tmp/x\n\n");
  EXPECT_NE(cat.out.find("This is the file \"x\" content:\nkept\n\n"), std::string::npos);
}

// The same for a path that would pass 239 characters: seven names of 30 and the file's.
TEST(SoakRegression, MovePastTheLengthLimitIsRefused) {
  ImageFixture fx;
  std::string longPath;
  makeFolders(fx, std::string(30, 'k'), 7, longPath);
  ASSERT_EQ(longPath.size(), 217u);
  std::string name(30, 'y');
  makeFile(fx, "/tmp/" + name, "kept");
  SessionResult r = fx.asRoot("mv /tmp/" + name + " " + longPath + "\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "The maximum pathname length can not exceed 239 symbols.\n"
            "The pathname was not deshifrated.\n");
  EXPECT_TRUE(exists(fx, "/tmp/" + name));
  EXPECT_EQ(childCount(fx, longPath), 0);
}

// A move that stays within the limits still works at the deepest level a file can have.
TEST(SoakRegression, MoveToTheDeepestNameableLevelWorks) {
  ImageFixture fx;
  std::string seven;
  makeFolders(fx, "d", 7, seven);
  makeFile(fx, "/tmp/x", "kept");
  SessionResult r = fx.asRoot("mv /tmp/x " + seven + "\n\n");
  EXPECT_EQ(r.err, "The file \"x\" was successfully moved.\n");
  EXPECT_FALSE(exists(fx, "/tmp/x"));
  EXPECT_TRUE(exists(fx, seven + "/x"));
}

}  // namespace
}  // namespace fs5::test
