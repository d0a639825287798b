#include <string>

#include "shell/ShellState.h"

namespace fs5 {

namespace {

// A cursor over one command line; the blank is the only separator.
struct LineScanner {
  const std::string& line;
  std::size_t pos = 0;

  bool atEnd() const { return pos >= line.size(); }
  char peek() const { return line[pos]; }
  void skipBlanks() {
    while (!atEnd() && peek() == ' ') ++pos;
  }
  std::string word() {
    std::size_t start = pos;
    while (!atEnd() && peek() != ' ') ++pos;
    return line.substr(start, pos - start);
  }
};

}  // namespace

bool ShellState::readCommandLine() {
  resetCommand();
  std::string line;
  if (!con_.readLine(line)) return false;
  constexpr std::size_t MAX_LINE = 750;  // characters, the zero byte that ends the line counted
  // The line is zero-terminated text: it ends at its first zero byte.
  if (std::size_t end = line.find('\0'); end != std::string::npos) line.resize(end);
  if (line.size() > MAX_LINE - 1) {
    con_.error("The command line can not exceed 749 symbols.");
    con_.waitForEnter();
    return true;
  }
  splitCommandLine(line);
  return true;
}

void ShellState::splitCommandLine(const std::string& line) {
  // What is kept at the most: the command word's characters, the option letters, and the
  // groups of option letters read.
  constexpr std::size_t MAX_COMMAND = 21;
  constexpr std::size_t MAX_OPTIONS = 8;
  constexpr int MAX_OPTION_GROUPS = 5;
  LineScanner scan{line};
  command_ = scan.word().substr(0, MAX_COMMAND);
  if (scan.atEnd()) return;
  scan.skipBlanks();
  for (int group = 0; group < MAX_OPTION_GROUPS; ++group) {
    if (!scan.atEnd() && scan.peek() == '-') {
      ++scan.pos;
      while (!scan.atEnd() && scan.peek() != ' ') {
        if (scan.peek() == '-') {
          ++scan.pos;
          if (scan.atEnd() || scan.peek() == ' ') break;
        }
        if (options_.size() < MAX_OPTIONS) options_.push_back(scan.peek());
        ++scan.pos;
      }
      if (scan.atEnd()) return;
    }
    scan.skipBlanks();
  }
  scan.skipBlanks();
  for (;;) {
    std::string w = scan.word();
    if (argCount_ < MAX_ARGS) args_[argCount_].parse(con_, w);
    ++argCount_;
    if (scan.atEnd()) return;
    scan.skipBlanks();
  }
}

bool ShellState::hasArgument(int n) const {
  return n >= 0 && n < MAX_ARGS && !args_[n].getText().empty();
}

bool ShellState::hasOption(char letter) const {
  for (char c : options_)
    if (c == letter) return true;
  return false;
}

}  // namespace fs5
