// Splitting the command line and reading a rights argument, as tables.
#include <gtest/gtest.h>

#include "shell/ShellState.h"
#include "tests/support/TestSupport.h"
#include "users/Rights.h"

namespace fs5::test {
namespace {

// What a line splits into: "command|options|argument 0|argument 1|argument 2|said".
std::string split(const std::string& line) {
  std::istringstream in;
  std::ostringstream out;
  Console con(in, out, out);
  ShellState state(con);
  state.splitCommandLine("cp -R alpha beta");
  state.resetCommand();
  state.splitCommandLine(line);
  std::string s = state.command() + "|";
  for (char c : state.options()) s += c;
  for (int i = 0; i < 3; ++i) s += "|" + (state.hasArgument(i) ? state.argument(i).getText() : "-");
  return s + "|" + out.str();
}

TEST(CommandLine, SplitsIntoCommandOptionsAndArguments) {
  const std::string c25(25, 'c'), c21(21, 'c');
  const std::pair<std::string, std::string> rows[] = {
      {"ls", "ls||-|-|-|"},
      {"cp -R a b", "cp|R|a|b|-|"},
      {"ls -l ", "ls|l|-|-|-|"},
      {"ls x -l", "ls||x|-l|-|"},
      {"ls --l", "ls|l|-|-|-|"},
      {"ls -l-", "ls|l|-|-|-|"},
      {"ls ---l x", "ls|-l|x|-|-|"},
      {"ls -lR -a", "ls|lRa|-|-|-|"},
      {c25 + " -abcdef -ghij a b c d", c21 + "|abcdefgh|a|b|c|"},
      {"x -a -b -c -d -e -f y", "x|abcde|-f|y|-|"},
      {"  ls", "||ls|-|-|"},
      {"cd   ", "cd||-|-|-|"},
      {"cd /1/2/3/4/5/6/7/8/9",
       "cd||-|-|-|The maximum pathname depth can not exceed 8 levels.\n"
       "The pathname was not deshifrated.\n"},
  };
  for (const auto& [line, expected] : rows) EXPECT_EQ(split(line), expected) << line;
}

TEST(RightsArgument, OwnerOrOthersThenSignThenLetters) {
  const std::pair<std::string, std::string> rows[] = {
      {"u+rw", "+12"}, {"o-x", "-9"},  {"o+xrwr", "+9787"}, {"u+", "+"},    {"g+r", "no"},
      {"u*r", "no"},   {"u+q", "no"},  {"u", "no"},         {"", "no"},     {"+r", "no"},
      {"U+r", "no"},   {"u+rq", "no"}, {"u+r ", "no"},      {"uo+r", "no"}, {"o-wr", "-87"}};
  for (const auto& [text, expected] : rows) {
    RightsChange c{true, {1}};
    std::string got = parseRightsArgument(text, c) ? (c.grant ? "+" : "-") : "no";
    for (int k : c.rights) got += std::to_string(k);
    EXPECT_EQ(got, expected) << text;
  }
}

}  // namespace
}  // namespace fs5::test
