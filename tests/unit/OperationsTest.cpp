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
  ASSERT_EQ(writeFile(io.ds, "/tmp/f"), 0);
  EXPECT_EQ(printFile(io.ds, "/tmp/f"), 0);            // ends at its end mark
  EXPECT_EQ(printFile(io.ds, "/etc/passwd/root"), 0);  // a record: no end mark
  EXPECT_EQ(printFile(io.ds, "/etc"), -1);
  EXPECT_EQ(printFile(io.ds, "/"), -1);
  EXPECT_EQ(listFolder(io.ds, false, {}, "/tmp"), 0);
  EXPECT_EQ(listFolder(io.ds, false, {}, "/nosuch"), -1);
}

}  // namespace
}  // namespace fs5::test
