// The results of the file-system operations, which their callers may test: 0 when done, -1
// when refused.
#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "fsops/List.h"
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
