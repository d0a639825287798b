#include <gtest/gtest.h>

#include <sstream>

#include "console/Console.h"

namespace fs5 {
namespace {

struct ConsoleIo {
  std::istringstream in;
  std::ostringstream out, err;
  Console con{in, out, err};
  explicit ConsoleIo(const std::string& input) : in(input) {}
};

TEST(Console, KeyReadsKeepTheRestOfTheirLineForTheNextKeyRead) {
  ConsoleIo io("\x1b\nabc\n");
  EXPECT_EQ(io.con.readKey(), 27);
  EXPECT_EQ(io.con.readKey(), '\n');  // the Enter after the Escape satisfies the next wait
  EXPECT_EQ(io.con.readKey(), 'a');
  EXPECT_EQ(io.con.readKey(), 'b');
}

TEST(Console, MainAndKeyBuffersDrawWholeLinesInTheOrderAsked) {
  ConsoleIo io("pass word\n\ncmd\n");
  std::string word, line;
  ASSERT_TRUE(io.con.readWord(word));
  EXPECT_EQ(word, "pass");
  EXPECT_EQ(io.con.readKey(), '\n');  // the key buffer takes the next whole line: the empty one
  ASSERT_TRUE(io.con.readLine(line));
  EXPECT_EQ(line, " word");  // the rest of the first line stays in the main buffer
  ASSERT_TRUE(io.con.readLine(line));
  EXPECT_EQ(line, "cmd");
  EXPECT_FALSE(io.con.readLine(line));
}

TEST(Console, WordReadsSkipWhiteSpaceAcrossLinesAndLeaveTheEndOfLine) {
  ConsoleIo io("  \n\t root \nnext\n");
  std::string word, line;
  ASSERT_TRUE(io.con.readWord(word));
  EXPECT_EQ(word, "root");
  ASSERT_TRUE(io.con.readLine(line));
  EXPECT_EQ(line, " ");
  EXPECT_EQ(io.con.readChar(), 'n');
}

TEST(Console, LastLineWithoutEndOfLineIsStillDelivered) {
  ConsoleIo io("exit");
  std::string line;
  ASSERT_TRUE(io.con.readLine(line));
  EXPECT_EQ(line, "exit");
  EXPECT_FALSE(io.con.readLine(line));
  EXPECT_EQ(io.con.readKey(), END_OF_INPUT);
  EXPECT_EQ(io.con.readChar(), END_OF_INPUT);
}

TEST(Console, EndOfInputBeforeAWordFailsTheWordRead) {
  ConsoleIo io(" \n  ");
  std::string word = "stale";
  EXPECT_FALSE(io.con.readWord(word));
  EXPECT_EQ(word, "");
}

TEST(Console, CharReadsDeliverEndsOfLineAndEscape) {
  ConsoleIo io("a\x1b\n");
  EXPECT_EQ(io.con.readChar(), 'a');
  EXPECT_EQ(io.con.readChar(), 27);
  EXPECT_EQ(io.con.readChar(), '\n');
  EXPECT_EQ(io.con.readChar(), END_OF_INPUT);
}

TEST(Console, ClearScreenIsTwentyFiveEndsOfLineAndWaitReadsOneKey) {
  ConsoleIo io("xy\n");
  io.con.clearScreen();
  io.con.waitForEnter();
  EXPECT_EQ(io.out.str(), std::string(25, '\n') + "Press Enter to continue.\n");
  EXPECT_EQ(io.con.readKey(), 'y');
}

// Standard output is flushed before standard error is written, so both land in program order
// on a console that merges them.
TEST(Console, ErrorsFlushStandardOutputFirst) {
  std::istringstream in;
  std::stringstream merged;
  Console con(in, merged, merged);
  con.print("out ");
  con.error("err");
  con.errorPart("part");
  con.line(" more");
  EXPECT_EQ(merged.str(), "out err\npart more\n");
}

}  // namespace
}  // namespace fs5
