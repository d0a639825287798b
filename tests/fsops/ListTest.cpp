#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/List.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const std::vector<OwnerName> kRootOnly = {{0, "root"}};
constexpr int kTmp = 15;  // i-node of /tmp on the standard image

int firstBlockOf(const std::string& image, int n) { return peek16(image, inodeAt(n) + 6); }

void makeFiles(ImageFixture& f, const std::vector<std::string>& paths, int16_t owner = 0) {
  auto d = f.open();
  for (const std::string& p : paths) ASSERT_EQ(createFile(d->ds, false, owner, p), 0) << p;
}

void makeFolders(ImageFixture& f, const std::vector<std::string>& paths) {
  auto d = f.open();
  for (const std::string& p : paths) ASSERT_EQ(createFolder(d->ds, false, 0, p), 0) << p;
}

struct Listing {
  int16_t result;
  std::string out;
  std::string err;
};

Listing list(ImageFixture& f, const std::string& path, bool longForm = false,
             const std::vector<OwnerName>& owners = kRootOnly) {
  auto d = f.open();
  int16_t r = listFolder(d->ds, longForm, owners, path);
  return {r, d->out.str(), d->err.str()};
}

TEST(ListFolder, RootShortForm) {
  ImageFixture f;
  Listing l = list(f, "/");
  EXPECT_EQ(l.result, 0);
  EXPECT_EQ(l.err, "");
  EXPECT_EQ(l.out,
            "The folder \"/\" content:\n"
            "\n"
            "/..           i-node\n"
            " ├ .             0\n"
            " ├ ..            0\n"
            " ├ bin           1\n"
            " ├ boot          2\n"
            " ├ dev           3\n"
            " ├ etc           4\n"
            " ├ home          5\n"
            " ├ initrd        6\n"
            " ├ lib           7\n"
            " ├ lost+found    8\n"
            " ├ misc          9\n"
            " ├ mnt          10\n"
            " ├ opt          11\n"
            " ├ proc         12\n"
            " ├ root         13\n"
            " ├ sbin         14\n"
            " ├ tmp          15\n"
            " ├ usr          16\n"
            " └ var          17\n"
            "\n");
}

TEST(ListFolder, LongFormRowsCarryRightsAndOwner) {
  ImageFixture f;
  Listing etc = list(f, "/etc", true);
  EXPECT_EQ(etc.out,
            "The folder \"etc\" content:\n"
            "\n"
            "etc           i-node\n"
            " ├ .             4      rwx r-x r-x   root\n"
            " ├ ..            0      rwx r-x r-x   root\n"
            " └ passwd       18      rwx r-x r-x   root\n"
            "\n");
  Listing root = list(f, "/", true);
  EXPECT_NE(root.out.find("\n ├ bin           1      rwx r-x r-x   root\n"), std::string::npos)
      << root.out;
}

TEST(ListFolder, NewFolderHoldsDotAndDotDot) {
  ImageFixture f;
  makeFolders(f, {"/tmp/d"});
  EXPECT_EQ(list(f, "/tmp/d").out,
            "The folder \"d\" content:\n"
            "\n"
            "d             i-node\n"
            " ├ .            20\n"
            " └ ..           15\n"
            "\n");
}

TEST(ListFolder, MarksWhenFilesFollowTheFolders) {
  ImageFixture f;
  makeFiles(f, {"/tmp/one"});
  EXPECT_EQ(list(f, "/tmp").out,
            "The folder \"tmp\" content:\n"
            "\n"
            "tmp           i-node\n"
            " ├ .            15\n"
            " ├ ..            0\n"
            " ╚ one          20\n"
            "\n");
  makeFiles(f, {"/tmp/two", "/tmp/three"});
  makeFolders(f, {"/tmp/sub"});
  EXPECT_EQ(list(f, "/tmp").out,
            "The folder \"tmp\" content:\n"
            "\n"
            "tmp           i-node\n"
            " ├ .            15\n"
            " ├ ..            0\n"
            " ├ sub          23\n"
            " ╟ one          20\n"
            " ╟ three        22\n"
            " ╚ two          21\n"
            "\n");
}

TEST(ListFolder, OwnerNamesFromTheTableAndRowZeroForUnknownOwners) {
  ImageFixture f;
  makeFiles(f, {"/tmp/a"}, 1);
  makeFiles(f, {"/tmp/b"}, 2);
  makeFiles(f, {"/tmp/c"}, 7);
  makeFiles(f, {"/tmp/d"}, 3);
  std::vector<OwnerName> owners = {
      {0, "root"}, {1, "anna"}, {2, "alexander"}, {3, "bob"}, {3, "later"}};
  EXPECT_EQ(list(f, "/tmp", true, owners).out,
            "The folder \"tmp\" content:\n"
            "\n"
            "tmp           i-node\n"
            " ├ .            15      rwx r-x r-x   root\n"
            " ├ ..            0      rwx r-x r-x   root\n"
            " ╟ a            20      rw- r-- r--   anna\n"
            " ╟ b            21      rw- r-- r-- alexander\n"
            " ╟ c            22      rw- r-- r--   root\n"
            " ╚ d            23      rw- r-- r--     bob\n"
            "\n");
}

TEST(ListFolder, LongNamesAndLabelsAreFollowedDirectly) {
  ImageFixture f;
  makeFolders(f, {"/fourteen_chars", "/thirteenchars"});
  makeFiles(f, {"/tmp/fifteen_chars__", "/tmp/thirteen_char", "/tmp/twelve_chars",
                "/tmp/" + std::string(30, 'w')});
  EXPECT_NE(list(f, "/fourteen_chars").out.find("\n\nfourteen_charsi-node\n"), std::string::npos);
  EXPECT_NE(list(f, "/thirteenchars").out.find("\n\nthirteenchars i-node\n"), std::string::npos);
  Listing l = list(f, "/tmp");
  EXPECT_NE(l.out.find("\n ╟ fifteen_chars__22\n"
                       " ╟ thirteen_char23\n"
                       " ╟ twelve_chars 24\n"
                       " ╚ wwwwwwwwwwwwwwwwwwwwwwwwwwwwww25\n"),
            std::string::npos)
      << l.out;
}

TEST(ListFolder, NamesSortInByteOrder) {
  ImageFixture f;
  makeFiles(f, {"/tmp/b", "/tmp/\xc3\xa9t\xc3\xa9", "/tmp/a", "/tmp/_", "/tmp/B", "/tmp/1"});
  makeFolders(f, {"/tmp/z", "/tmp/Z"});
  EXPECT_EQ(list(f, "/tmp").out,
            "The folder \"tmp\" content:\n"
            "\n"
            "tmp           i-node\n"
            " ├ .            15\n"
            " ├ ..            0\n"
            " ├ Z            27\n"
            " ├ z            26\n"
            " ╟ 1            25\n"
            " ╟ B            24\n"
            " ╟ _            23\n"
            " ╟ a            22\n"
            " ╟ b            20\n"
            " ╚ \xc3\xa9t\xc3\xa9        21\n"
            "\n");
}

TEST(ListFolder, EqualNamesKeepTheirOrderInTheFolder) {
  ImageFixture f;
  makeFiles(f, {"/tmp/x", "/tmp/y", "/tmp/a"});
  // /tmp's first block: "..", ".", "x"; its second: "y", "a". Make both x and y "dup" and swap
  // their i-nodes, so the folder order (21 before 20) differs from the i-node order.
  int first = firstBlockOf(f.image(), kTmp);
  int second = peek16(f.image(), inodeAt(kTmp) + 8);
  poke(f.image(), blockAt(first) + 66, {21, 0, 'd', 'u', 'p'});
  poke(f.image(), blockAt(second) + 2, {20, 0, 'd', 'u', 'p'});
  Listing l = list(f, "/tmp");
  EXPECT_NE(l.out.find("\n ╟ a            22\n ╟ dup          21\n ╚ dup          20\n"),
            std::string::npos)
      << l.out;
}

TEST(ListFolder, ManyEqualNamesKeepTheirOrderInTheFolder) {
  ImageFixture f;
  makeFolders(f, {"/tmp/eq"});
  std::vector<std::string> paths;
  for (int i = 0; i < 40; ++i) paths.push_back("/tmp/eq/f" + std::to_string(10 + i));
  makeFiles(f, paths);
  // Rename the files in turn to "b" and "a": f10 (i-node 21) "b", f11 (22) "a", and so on.
  int eq = 20;
  int slot = 0;
  for (int b = 0; b < peek16(f.image(), inodeAt(eq) + 206); ++b) {
    int block = peek16(f.image(), inodeAt(eq) + 6 + 2 * b);
    for (int s = 0; s < 3; ++s, ++slot) {
      if (slot < 2) continue;  // ".." and "."
      char name = (slot - 2) % 2 == 0 ? 'b' : 'a';
      poke(f.image(), blockAt(block) + 4 + 32 * s, {static_cast<uint8_t>(name), 0, 0});
    }
  }
  std::string expected =
      "The folder \"eq\" content:\n\neq            i-node\n ├ .            20\n ├ ..           "
      "15\n";
  for (int i = 0; i < 40; ++i) {
    int number = i < 20 ? 22 + 2 * i : 21 + 2 * (i - 20);
    expected += std::string(i < 39 ? " ╟ " : " ╚ ") + (i < 20 ? "a" : "b") + std::string(12, ' ') +
                std::to_string(number) + "\n";
  }
  expected += "\n";
  EXPECT_EQ(list(f, "/tmp/eq").out, expected);
}

TEST(ListFolder, EveryEntryIsListedPastSixtyOfAKind) {
  ImageFixture f;
  makeFolders(f, {"/tmp/many"});
  std::vector<std::string> paths;
  for (int i = 0; i < 65; ++i) paths.push_back("/tmp/many/f" + std::to_string(100 + i));
  makeFiles(f, paths);
  Listing l = list(f, "/tmp/many");
  EXPECT_EQ(l.result, 0);
  std::string expected =
      "The folder \"many\" content:\n\nmany          i-node\n ├ .            20\n ├ ..           "
      "15\n";
  for (int i = 0; i < 65; ++i)
    expected += std::string(i < 64 ? " ╟ " : " ╚ ") + "f" + std::to_string(100 + i) +
                std::string(9, ' ') + std::to_string(21 + i) + "\n";
  expected += "\n";
  EXPECT_EQ(l.out, expected);
}

TEST(ListFolder, EntriesOfFreeINodesAreLeftOut) {
  ImageFixture f;
  makeFiles(f, {"/tmp/gone", "/tmp/kept"});
  int first = firstBlockOf(f.image(), kTmp);
  poke(f.image(), blockAt(first) + 66, {99, 0});  // "gone" now names the free i-node 99
  EXPECT_EQ(list(f, "/tmp").out,
            "The folder \"tmp\" content:\n"
            "\n"
            "tmp           i-node\n"
            " ├ .            15\n"
            " ├ ..            0\n"
            " ╚ kept         21\n"
            "\n");
}

TEST(ListFolder, PathThatNamesNoFolderPrintsNothingToPrint) {
  ImageFixture f;
  makeFiles(f, {"/tmp/file"});
  std::vector<uint8_t> before = readBytes(f.image());
  Listing missing = list(f, "/tmp/nosuch/x");
  EXPECT_EQ(missing.result, -1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "Folder or file \"nosuch\" not found.\nNothing to print.\n");
  Listing file = list(f, "/tmp/file");
  EXPECT_EQ(file.result, -1);
  EXPECT_EQ(file.out, "");
  EXPECT_EQ(file.err, "Nothing to print.\n");
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(ListFolder, ListingWritesNothingToTheImage) {
  ImageFixture f;
  makeFiles(f, {"/tmp/a"});
  std::vector<uint8_t> before = readBytes(f.image());
  EXPECT_EQ(list(f, "/tmp", true).result, 0);
  EXPECT_EQ(list(f, "/", false).result, 0);
  EXPECT_EQ(readBytes(f.image()), before);
}

}  // namespace
}  // namespace fs5::test
