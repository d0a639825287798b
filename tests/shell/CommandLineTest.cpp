#include <gtest/gtest.h>

#include <sstream>

#include "shell/ShellState.h"

namespace fs5 {
namespace {

class CommandLine : public ::testing::Test {
 protected:
  std::istringstream in;
  std::ostringstream out, err;
  Console con{in, out, err};
  ShellState state{con};
  std::string options() { return std::string(state.options().begin(), state.options().end()); }
  void split(const std::string& line) {
    state.resetCommand();
    state.splitCommandLine(line);
  }
};

TEST_F(CommandLine, CommandAlone) {
  split("ls");
  EXPECT_EQ(state.command(), "ls");
  EXPECT_EQ(options(), "");
  EXPECT_EQ(state.argCount(), 0);
  EXPECT_FALSE(state.hasArgument(0));
}

TEST_F(CommandLine, OptionsAndArguments) {
  split("cp -R a b");
  EXPECT_EQ(state.command(), "cp");
  EXPECT_TRUE(state.hasOption('R'));
  EXPECT_FALSE(state.hasOption('r'));
  EXPECT_EQ(state.argument(0).getText(), "a");
  EXPECT_EQ(state.argument(1).getText(), "b");
  split("ls -l");
  EXPECT_EQ(options(), "l");
  EXPECT_EQ(state.argCount(), 0);
  split("ls -l ");
  EXPECT_EQ(options(), "l");
  EXPECT_EQ(state.argCount(), 1);  // one empty argument, which counts as absent
  EXPECT_FALSE(state.hasArgument(0));
}

TEST_F(CommandLine, OptionsAfterAnArgumentAreArguments) {
  split("ls x -l");
  EXPECT_EQ(options(), "");
  EXPECT_EQ(state.argument(0).getText(), "x");
  EXPECT_EQ(state.argument(1).getText(), "-l");
}

TEST_F(CommandLine, DashesInsideAGroup) {
  split("ls --l");
  EXPECT_EQ(options(), "l");
  split("ls -l-");
  EXPECT_EQ(options(), "l");
  split("ls ---l x");
  EXPECT_EQ(options(), "-l");
  EXPECT_EQ(state.argument(0).getText(), "x");
  split("ls -lR -a");
  EXPECT_EQ(options(), "lRa");
}

TEST_F(CommandLine, LimitsOfCommandOptionsAndArguments) {
  split(std::string(25, 'c') + " -abcdef -ghij a b c d");
  EXPECT_EQ(state.command(), std::string(21, 'c'));
  EXPECT_EQ(options(), "abcdefgh");
  EXPECT_EQ(state.argument(2).getText(), "c");
  split("x -a -b -c -d -e -f y");
  EXPECT_EQ(options(), "abcde");
  EXPECT_EQ(state.argument(0).getText(), "-f");
  EXPECT_EQ(state.argument(1).getText(), "y");
}

TEST_F(CommandLine, LeadingBlankGivesAnEmptyCommand) {
  split("  ls");
  EXPECT_EQ(state.command(), "");
  split("cd   ");
  EXPECT_EQ(state.command(), "cd");
  EXPECT_FALSE(state.hasArgument(0));
}

TEST_F(CommandLine, ATooDeepArgumentIsLeftEmpty) {
  split("cd /1/2/3/4/5/6/7/8/9");
  EXPECT_FALSE(state.hasArgument(0));
  EXPECT_EQ(err.str(),
            "The maximum pathname depth can not exceed 8 levels.\n"
            "The pathname was not deshifrated.\n");
}

TEST_F(CommandLine, ResetClearsEverythingOfTheLastLine) {
  split("cp -R alpha beta");
  state.resetCommand();
  state.splitCommandLine("ls");
  EXPECT_EQ(options(), "");
  EXPECT_FALSE(state.hasArgument(0));
  EXPECT_FALSE(state.hasArgument(1));
}

TEST_F(CommandLine, ThePromptShowsTheUserAndTheFolder) {
  state.homeFolder().parse(con, "/root");
  state.workFolder().parse(con, "/");
  EXPECT_EQ(state.promptText(), "[root @fs5 / ]# ");
  state.homeFolder().parse(con, "/home/anna");
  state.workFolder().parse(con, "/home/anna");
  EXPECT_EQ(state.promptText(), "[anna @fs5 /home/anna/ ]$ ");
}

}  // namespace
}  // namespace fs5
