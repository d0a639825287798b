#include <gtest/gtest.h>

#include <sstream>

#include "shell/ShellState.h"

namespace fs5 {
namespace {

class Arguments : public ::testing::Test {
 protected:
  std::istringstream in{"\n\n"};
  std::ostringstream out, err;
  Console con{in, out, err};
  ShellState state{con};
  // The target text that argument `arg` gives in the working folder `work`.
  std::string target(const std::string& work, const std::string& arg, bool* formed = nullptr) {
    state.workFolder().parse(con, work);
    state.resetCommand();
    state.splitCommandLine("cmd " + arg);
    bool ok = state.resolveArgument(0);
    if (formed) *formed = ok;
    EXPECT_FALSE(state.hasArgument(0));
    return state.workFolder().getText();
  }
};

TEST_F(Arguments, RelativeAbsoluteAndUpPaths) {
  EXPECT_EQ(target("/home/anna", "notes"), "/home/anna/notes");
  EXPECT_EQ(state.savedFolder().getText(), "/home/anna");
  EXPECT_EQ(target("/home/anna", "/etc/passwd"), "/etc/passwd");
  EXPECT_EQ(target("/home/anna", "../bob/x"), "/home/bob/x");
  EXPECT_EQ(target("/", "notes"), "/notes");
  EXPECT_EQ(target("/home/anna", "../../x"), "/home/../x");
  EXPECT_EQ(target("/home/anna", ".."), "/home/anna/..");
  EXPECT_EQ(state.workFolder().getDepth(), 3);
  EXPECT_EQ(err.str(), "");
}

TEST_F(Arguments, UpFromTheRootIsRefusedAndTheRestAppended) {
  EXPECT_EQ(target("/", "../x"), "/x");
  EXPECT_EQ(err.str(), "You can not move upper than \"/\" folder.\n");
  EXPECT_EQ(out.str(), "Press Enter to continue.\n");
}

TEST_F(Arguments, DotDotSlashAloneNamesTheParent) {
  EXPECT_EQ(target("/home", "../"), "/");
  EXPECT_EQ(state.workFolder().getDepth(), 0);
}

TEST_F(Arguments, TooDeepTargetsAreReported) {
  bool formed = true;
  EXPECT_EQ(target("/1/2/3/4/5/6/7", "a/b"), "/1/2/3/4/5/6/7");
  target("/1/2/3/4/5/6/7", "a/b", &formed);
  EXPECT_FALSE(formed);
  state.restoreWorkFolder(0);
  EXPECT_EQ(state.workFolder().getText(), "/1/2/3/4/5/6/7");
  EXPECT_TRUE(state.savedFolder().isEmpty());
}

TEST_F(Arguments, RestorePutsTheWorkingFolderBack) {
  target("/home/anna", "/etc");
  state.restoreWorkFolder(0);
  EXPECT_EQ(state.workFolder().getText(), "/home/anna");
  EXPECT_TRUE(state.savedFolder().isEmpty());
}

}  // namespace
}  // namespace fs5
