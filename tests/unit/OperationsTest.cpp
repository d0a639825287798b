// The results of the file-system operations, which their callers may test: 0 when done, -1
// when refused.
#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/List.h"
#include "fsops/Lookup.h"
#include "fsops/Print.h"
#include "fsops/Write.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

TEST(Operations, PrintAndListResults) {
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  ImageStream io(dir.file("i"), "abc\x1b\n");
  ASSERT_EQ(createFile(io.ds, false, 0, "/tmp/f"), 0);
  ASSERT_EQ(writeFile(io.ds, lookup(io.ds, true, "/tmp/f")), 0);
  EXPECT_EQ(printFile(io.ds, lookup(io.ds, true, "/tmp/f")), 0);            // ends at its end mark
  EXPECT_EQ(printFile(io.ds, lookup(io.ds, true, "/etc/passwd/root")), 0);  // a record: no end mark
  EXPECT_EQ(printFile(io.ds, lookup(io.ds, true, "/etc")), -1);
  EXPECT_EQ(printFile(io.ds, lookup(io.ds, true, "/")), -1);
  EXPECT_EQ(listFolder(io.ds, false, {}, lookup(io.ds, true, "/tmp")), 0);
  EXPECT_EQ(listFolder(io.ds, false, {}, lookup(io.ds, true, "/nosuch")), -1);
}

// What one walk finds: "result number parent name missing|said" (results 0 found,
// 1 missing, 3 not a path; "-" for no missing component).
std::string lookedUp(ImageStream& io, bool verbose, const std::string& path) {
  io.out.str("");
  Handle h = lookup(io.ds, verbose, path);
  return std::to_string(static_cast<int>(h.result)) + " " + std::to_string(h.number) + " " +
         std::to_string(h.parent) + " " + h.name + " " + h.missing.value_or("-") + "|" +
         io.out.str();
}

TEST(Operations, LookupFindsTheObjectItsFolderAndItsName) {
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  ImageStream io(dir.file("i"));
  const std::tuple<bool, std::string, std::string> rows[] = {
      {true, "/", "0 0 -1 / -|"},
      {true, "/home", "0 5 0 home -|"},
      {true, "/home/..", "0 0 5 .. -|"},
      {true, "/tmp/../home", "0 5 0 home -|"},
      {false, "/tmp/nosuch", "1 -1 15 nosuch nosuch|"},
      {false, "/home/", "1 -1 5  |"},
      {false, "/nosuch/x", "1 -1 -1 x nosuch|"},
      {true, "/nosuch/x", "1 -1 -1 x nosuch|Folder or file \"nosuch\" not found.\n"},
      {true, "/tmp/nosuch", "1 -1 15 nosuch nosuch|Folder or file \"nosuch\" not found.\n"},
      {true, "/1/2/3/4/5/6/7/8/9",
       "3 -1 -1  -|The maximum pathname depth can not exceed 8 levels.\n"
       "The pathname was not deshifrated.\n"},
  };
  for (const auto& [verbose, path, expected] : rows)
    EXPECT_EQ(lookedUp(io, verbose, path), expected) << path;
  Handle missing = lookup(io.ds, false, "/nosuch/x");
  io.out.str("");
  reportMissing(io.con, missing);
  EXPECT_EQ(io.out.str(), "Folder or file \"nosuch\" not found.\n");
}

// A listing has no cap on its entries: 70 files, and "." and "..", make 72 rows.
TEST(Operations, ListingShowsEveryEntry) {
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  ImageStream io(dir.file("i"));
  for (int i = 0; i < 70; ++i)
    ASSERT_EQ(createFile(io.ds, false, 0, "/tmp/" + std::to_string(i)), 0);
  io.out.str("");
  ASSERT_EQ(listFolder(io.ds, false, {}, lookup(io.ds, true, "/tmp")), 0);
  std::string shown = io.out.str();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 3 + 72 + 1);
}

}  // namespace
}  // namespace fs5::test
