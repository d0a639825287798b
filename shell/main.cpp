#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "console/Console.h"
#include "console/Signals.h"
#include "console/Terminal.h"
#include "shell/Invocation.h"
#include "shell/Program.h"

namespace {

// Big enough for everything one command prints between two reads of the input: a file of
// 9,999 characters, a listing of 100 entries, the screen clearings of a whole tree's
// deletion all stay well under it.
constexpr std::size_t CONSOLE_BUFFER = 1 << 16;

}  // namespace

// Standard output is fully buffered whatever it is connected to. The console flushes it
// before every read of the input and before every message on standard error, so each flush
// is one write(2) holding whole lines (or ending with a prompt) and no line is ever split
// between two writes. Standard input gets the same buffer size, so piped input arrives in a
// few large reads. Both buffers outlive main, since the C streams are flushed and closed at
// exit. The terminal part of the console is attached only when standard input is a terminal;
// there standard input is read unbuffered, byte by byte, since the line editor reads the
// terminal itself: lines typed ahead must stay in the terminal, not in the C stream's buffer.
int main(int argc, char** argv) {
  static char output[CONSOLE_BUFFER];
  static char input[CONSOLE_BUFFER];
  std::setvbuf(stdout, output, _IOFBF, sizeof output);
  if (isatty(STDIN_FILENO) == 1) {
    std::setvbuf(stdin, nullptr, _IONBF, 0);
  } else {
    std::setvbuf(stdin, input, _IOFBF, sizeof input);
  }
  fs5::Console console(std::cin, std::cout, std::cerr);
  std::string image;
  int status = fs5::readArguments(console, {argv + 1, argv + argc}, image);
  if (status < 0) {
    fs5::Terminal terminal;
    if (terminal.isInputTerminal()) console.attachTerminal(&terminal);
    fs5::catchSignals(terminal.isInputTerminal());
    status = fs5::runProgram(console, image);
  }
  std::cout.flush();
  return status;
}
