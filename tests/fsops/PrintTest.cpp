#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Print.h"
#include "fsops/Write.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

// The first datablock of i-node n, as listed in its record.
int firstBlockOf(const std::string& image, int n) { return peek16(image, inodeAt(n) + 6); }

// Creates /tmp/f and, when `typed` is given, stores it through the editor. Returns f's i-node.
int makeFile(ImageFixture& f, const std::string& typed = "") {
  auto d = f.open(typed);
  EXPECT_EQ(createFile(d->ds, false, 0, "/tmp/f"), 0);
  if (!typed.empty()) {
    EXPECT_EQ(writeFile(d->ds, "/tmp/f"), 0);
  }
  PathName path;
  path.parse(d->con, "/tmp/f");
  return resolveWhole(d->ds, false, path);
}

TEST(PrintFile, TypedTextEndsWithTwoEndsOfLine) {
  ImageFixture f;
  makeFile(f, "abc\x1b\n");
  auto d = f.open();
  EXPECT_EQ(printFile(d->ds, "/tmp/f"), 0);
  EXPECT_EQ(d->out.str(), "This is the file \"f\" content:\nabc\n\n");
  EXPECT_EQ(d->err.str(), "");
}

TEST(PrintFile, NewFilePrintsItsHundredZeroBytesWithoutEndOfLine) {
  ImageFixture f;
  makeFile(f);
  auto d = f.open();
  EXPECT_EQ(printFile(d->ds, "/tmp/f"), 0);
  EXPECT_EQ(d->out.str(), "This is the file \"f\" content:\n" + std::string(100, '\0'));
  EXPECT_EQ(d->err.str(), "");
}

TEST(PrintFile, HundredCharactersEndMarkInSecondBlock) {
  ImageFixture f;
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(static_cast<char>('a' + i % 26));
  int n = makeFile(f, hundred + "\x1b\n");
  ASSERT_EQ(peek16(f.image(), inodeAt(n) + 206), 2);
  auto d = f.open();
  EXPECT_EQ(printFile(d->ds, "/tmp/f"), 0);
  EXPECT_EQ(d->out.str(), "This is the file \"f\" content:\n" + hundred + "\n\n");
}

TEST(PrintFile, LineEndsAndBytesAfterTheFirstEndMark) {
  ImageFixture f;
  int n = makeFile(f, "a\nb\x1b\n");
  // Bytes after the end mark are never printed, even a second end mark and text after it.
  poke(f.image(), blockAt(firstBlockOf(f.image(), n)) + 4, {'z', 27, 'y'});
  auto d = f.open();
  EXPECT_EQ(printFile(d->ds, "/tmp/f"), 0);
  EXPECT_EQ(d->out.str(), "This is the file \"f\" content:\na\nb\n\n");
}

TEST(PrintFile, ContentWithoutEndMarkIsPrintedWhole) {
  ImageFixture f;
  int n = makeFile(f, std::string(150, 'q') + "\x1b\n");
  int second = peek16(f.image(), inodeAt(n) + 8);
  poke(f.image(), blockAt(second) + 50, {'r'});  // overwrite the end mark
  auto d = f.open();
  EXPECT_EQ(printFile(d->ds, "/tmp/f"), 0);
  EXPECT_EQ(d->out.str(), "This is the file \"f\" content:\n" + std::string(150, 'q') + "r" +
                              std::string(49, '\0'));
}

TEST(PrintFile, RefusalsPrintOnlyToStandardErrorAndChangeNothing) {
  ImageFixture f;
  makeFile(f, "abc\x1b\n");
  std::vector<uint8_t> before = readBytes(f.image());
  struct Case {
    const char* path;
    const char* err;
  } cases[] = {
      {"/", "This is a \"/\" folder, not a file\n"},
      {"/tmp/nosuch", "Folder or file \"nosuch\" not found.\n"},
      {"/nosuch/f", "Folder or file \"nosuch\" not found.\n"},
      {"/etc", "\"etc\" is a folder,not a file.\n"},
      {"/etc/passwd", "\"passwd\" is a folder,not a file.\n"},
  };
  for (const Case& c : cases) {
    auto d = f.open();
    EXPECT_EQ(printFile(d->ds, c.path), -1) << c.path;
    EXPECT_EQ(d->out.str(), "") << c.path;
    EXPECT_EQ(d->err.str(), c.err) << c.path;
  }
  EXPECT_EQ(readBytes(f.image()), before);
}

}  // namespace
}  // namespace fs5::test
