// The faults the fuzzers found, each replayed as a transcript. The inputs that found them are
// kept in fuzz/corpus/ as well (finding-*), where FuzzCorpus replays them through the fuzzers'
// own harnesses.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "path/PathName.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const std::string kRootStart = "Login: \nPassword: [root @fs5 /root/ ]# [root @fs5 /root/ ]# ";
const std::string kRootPrompt = "[root @fs5 /root/ ]# ";
const std::string kWait = "Press Enter to continue.\n";

// A stored name ends at its first zero byte, so a name holding one would be kept as another
// name: the empty one here (the session fuzzer's input), or a name already in the folder.
TEST(FuzzFindings, AFolderNameWithAZeroByteIsRefused) {
  ImageFixture fx;
  std::vector<uint8_t> before = readBytes(fx.image());
  std::string name("\0\0\0\0\0\0\0C", 8);
  SessionResult r = fx.asRoot("mkdir /tmp/" + name + "\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Can not create folder \"" + name + "\".\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n\n" + kWait + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(FuzzFindings, AFileNameWithAZeroByteIsRefusedAndTheExistingNameKept) {
  ImageFixture fx;
  fx.asRoot("vi /tmp/a\n\n");
  std::vector<uint8_t> before = readBytes(fx.image());
  std::string name("a\0b", 3);
  SessionResult r = fx.asRoot("vi /tmp/" + name + "\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Can not create file \"" + name + "\".\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart + "\n\n" + kWait + kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

// Before the refusal, such an account name made a second account file holding user number 0.
TEST(FuzzFindings, AnAccountNameWithAZeroByteMakesNoAccount) {
  ImageFixture fx;
  std::vector<uint8_t> before = readBytes(fx.image());
  std::string name("x\0y", 3);
  SessionResult r = fx.asRoot("adduser " + name + "\npassw1\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Can not create file \"" + name + "\".\n");
  EXPECT_EQ(withoutClears(r.out), kRootStart +
                                      "\n\nEnter the user password (max. 30 tokens):\n"
                                      "The user account \"" +
                                      name + "\" was not created.\n\n" + kWait + kRootPrompt +
                                      kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

// Going up from a path whose only remaining component is empty gives the root itself, with no
// component left (the parser fuzzer met it through an argument beginning with "../").
TEST(FuzzFindings, GoingUpToTheRootLeavesNoComponent) {
  std::istringstream in;
  std::ostringstream out, err;
  Console con(in, out, err);
  PathName p;
  ASSERT_EQ(p.parse(con, "//x"), 0);
  ASSERT_EQ(p.getDepth(), 2);
  EXPECT_EQ(p.goUp(con), "/");
  EXPECT_EQ(p.getDepth(), 0);
  EXPECT_TRUE(p.isRoot());
  ASSERT_EQ(p.appendPath(con, "/docs"), 0);
  EXPECT_EQ(p.getText(), "/docs");
  EXPECT_EQ(p.getDepth(), 1);
  EXPECT_EQ(p.component(0), "docs");
  EXPECT_EQ(out.str() + err.str(), "");
}

}  // namespace
}  // namespace fs5::test
