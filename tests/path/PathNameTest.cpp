#include <gtest/gtest.h>

#include <sstream>

#include "path/PathName.h"

namespace fs5 {
namespace {

class PathNames : public ::testing::Test {
 protected:
  std::istringstream in{"\n\n\n"};
  std::ostringstream out, err;
  Console con{in, out, err};
};

const char* kTooDeep =
    "The maximum pathname depth can not exceed 8 levels.\nThe pathname was not deshifrated.\n";
const char* kTooLong =
    "The maximum pathname length can not exceed 239 symbols.\n"
    "The pathname was not deshifrated.\n";

TEST_F(PathNames, ParseSplitsComponentsAndKeepsTheText) {
  PathName p;
  ASSERT_EQ(p.parse(con, "/"), 0);
  EXPECT_EQ(p.getDepth(), 0);
  EXPECT_EQ(p.getText(), "/");
  EXPECT_TRUE(p.isRoot());
  ASSERT_EQ(p.parse(con, "/bin"), 0);
  EXPECT_EQ(p.getDepth(), 1);
  EXPECT_EQ(p.component(0), "bin");
  ASSERT_EQ(p.parse(con, "/etc/passwd/"), 0);
  EXPECT_EQ(p.getDepth(), 3);
  EXPECT_EQ(p.component(2), "");
  ASSERT_EQ(p.parse(con, "a//b"), 0);
  EXPECT_EQ(p.getDepth(), 3);
  EXPECT_EQ(p.getText(), "a//b");
  ASSERT_EQ(p.parse(con, ""), 0);
  EXPECT_EQ(p.getDepth(), 1);
  EXPECT_EQ(p.component(0), "");
  EXPECT_EQ(err.str(), "");
}

TEST_F(PathNames, EightComponentsFitAndNineAreRefused) {
  PathName p;
  ASSERT_EQ(p.parse(con, "/1/2/3/4/5/6/7/8"), 0);
  EXPECT_EQ(p.getDepth(), 8);
  EXPECT_EQ(p.parse(con, "/1/2/3/4/5/6/7/8/9"), -1);
  EXPECT_EQ(err.str(), kTooDeep);
  EXPECT_TRUE(p.isEmpty());
  EXPECT_EQ(p.getText(), "");
}

TEST_F(PathNames, LongComponentsAreKeptWholeAndLongTextsRefused) {
  PathName p;
  std::string c31(31, 'c');
  ASSERT_EQ(p.parse(con, "/" + c31), 0);
  EXPECT_EQ(p.component(0), c31);
  std::string text239 = "/" + std::string(238, 'x');
  EXPECT_EQ(p.parse(con, text239), 0);
  EXPECT_EQ(p.parse(con, text239 + "y"), -1);
  EXPECT_EQ(err.str(), kTooLong);
  EXPECT_TRUE(p.isEmpty());
}

TEST_F(PathNames, LengthIsReportedBeforeDepthWhenParsing) {
  PathName p;
  std::string deepAndLong;
  for (int i = 0; i < 12; ++i) deepAndLong += "/" + std::string(25, 'd');
  EXPECT_EQ(p.parse(con, deepAndLong), -1);
  EXPECT_EQ(err.str(), kTooLong);
}

TEST_F(PathNames, AppendAndGoUp) {
  PathName p;
  p.parse(con, "/");
  p.append(con, "bin");
  EXPECT_EQ(p.getText(), "/bin");
  p.append(con, "x");
  EXPECT_EQ(p.getText(), "/bin/x");
  EXPECT_EQ(p.goUp(con), "/bin");
  EXPECT_EQ(p.getDepth(), 1);
  EXPECT_EQ(p.goUp(con), "/");
  EXPECT_EQ(p.getDepth(), 0);
  EXPECT_EQ(out.str(), "");
}

TEST_F(PathNames, AppendRefusesANinthComponent) {
  PathName p;
  p.parse(con, "/1/2/3/4/5/6/7/8");
  EXPECT_EQ(p.append(con, "9"), -1);
  EXPECT_EQ(err.str(), kTooDeep);
  EXPECT_EQ(p.getText(), "/1/2/3/4/5/6/7/8");
}

TEST_F(PathNames, GoingAboveTheRootIsRefusedWithAWait) {
  PathName p;
  p.parse(con, "/");
  EXPECT_EQ(p.goUp(con), "/");
  EXPECT_EQ(p.dropFirst(con), "/");
  EXPECT_EQ(
      err.str(),
      "You can not move upper than \"/\" folder.\nYou can not move upper than \"/\" folder.\n");
  EXPECT_EQ(out.str(), "Press Enter to continue.\nPress Enter to continue.\n");
  EXPECT_EQ(con.readKey(), '\n');  // two of the three Enters were taken by the waits
  EXPECT_EQ(con.readKey(), END_OF_INPUT);
}

TEST_F(PathNames, DropFirstRebuildsAnAbsoluteText) {
  PathName p;
  p.parse(con, "../x/y");
  EXPECT_EQ(p.dropFirst(con), "/x/y");
  EXPECT_EQ(p.getDepth(), 2);
  PathName up;
  up.parse(con, "../");
  EXPECT_EQ(up.dropFirst(con), "/");
  EXPECT_EQ(up.getDepth(), 0);  // the root, not an empty component
  PathName one;
  one.parse(con, "..");
  EXPECT_EQ(one.dropFirst(con), "/");
  EXPECT_TRUE(one.isRoot());
}

TEST_F(PathNames, MakeAbsoluteAndAppendPath) {
  PathName arg;
  arg.parse(con, "docs");
  arg.makeAbsolute();
  EXPECT_EQ(arg.getText(), "/docs");
  EXPECT_EQ(arg.getDepth(), 1);
  PathName work;
  work.parse(con, "/home/ann");
  ASSERT_EQ(work.appendPath(con, arg.getText()), 0);
  EXPECT_EQ(work.getText(), "/home/ann/docs");
  EXPECT_EQ(work.getDepth(), 3);
  PathName root;
  root.parse(con, "/");
  ASSERT_EQ(root.appendPath(con, "/docs"), 0);
  EXPECT_EQ(root.getText(), "/docs");
  ASSERT_EQ(root.appendPath(con, "/"), 0);
  EXPECT_EQ(root.getText(), "/docs");
  EXPECT_EQ(root.getDepth(), 1);
}

TEST_F(PathNames, AppendPathRefusalsLeaveThePathUnchanged) {
  PathName work;
  work.parse(con, "/1/2/3/4/5/6/7");
  EXPECT_EQ(work.appendPath(con, "/a/b"), -1);
  EXPECT_EQ(err.str(), kTooDeep);
  EXPECT_EQ(work.getText(), "/1/2/3/4/5/6/7");
  err.str("");
  PathName longer;
  longer.parse(con, "/" + std::string(200, 'p'));
  EXPECT_EQ(longer.appendPath(con, "/" + std::string(40, 'q')), -1);
  EXPECT_EQ(err.str(), kTooLong);
  EXPECT_EQ(longer.getDepth(), 1);
}

}  // namespace
}  // namespace fs5
