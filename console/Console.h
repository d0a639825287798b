// The console: the lowest layer of fs5. Every other layer prints through it and some read
// through it; it calls nothing of the system.
//
// Input arrives one whole line (with its end of line) at a time and is kept in two buffers
// that draw lines from the input only when they are empty:
//   - the main buffer serves command lines, word reads (login, passwords) and the editor's
//     character reads;
//   - the key buffer serves every single-character read (waits and confirmations).
// So, from piped input, the Enter typed after an Escape at a confirmation is kept for the next
// wait, and the end of line after a password is kept for the next command line. Standard output is
// flushed before every read of the input and before every write to standard error, so a merged
// console shows everything in program order.
//
// Once holdOutput() was called, what is printed (on both streams) is held in one ordered queue
// and written out only when the console is about to wait for the person, after the
// before-input hook (where the shell ends the stretch of work on the image and commits it),
// when flushed, and when the console closes.
// So nothing printed since the last read is shown before the stretch has happened; a stretch
// that fails shows only its failure line (dropOutput, then the line).
//
// With a terminal attached (standard input is one; console/Terminal.h) a person types whole
// lines, and nothing typed is lost or taken for something else:
//   - passwords are typed hidden, and the end of line that ends a login word or a password
//     (after blanks only) is taken with it;
//   - a wait takes one whole line; a line that is not empty joins the main buffer as a
//     command line typed ahead, taken by the next line or word read (several in their
//     order), and shown there after its prompt as if typed at it;
//   - a confirmation takes one whole line: Enter alone is yes, a line that begins with Escape
//     is no, any other line asks the question once more and the second such line is no;
//   - command lines are read with its line editor when it has one;
//   - Ctrl-C (console/Signals.h) abandons the command line being typed and shows the prompt
//     again on the next line, is Enter at a wait and Escape (no) at a confirmation, makes
//     readChar return INTERRUPTED and makes a word read fail with interrupted() true.
// Without one, every read goes through `in` as above.
#ifndef FS5_CONSOLE_CONSOLE_H_
#define FS5_CONSOLE_CONSOLE_H_

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/Terminal.h"

namespace fs5 {

inline constexpr int CLEAR_LINES = 25;
inline constexpr int KEY_ESCAPE = 27;
inline constexpr int END_OF_INPUT = -1;
// readChar's answer to Ctrl-C at a terminal.
inline constexpr int INTERRUPTED = -2;

class Console {
 public:
  Console(std::istream& in, std::ostream& out, std::ostream& err);
  // Writes out what is still held.
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Writes text to standard output.
  void print(std::string_view text);
  // Writes text and an end of line to standard output.
  void line(std::string_view text = {});
  // Flushes standard output, then writes text and an end of line to standard error.
  void error(std::string_view text);
  // Flushes standard output, then writes text (no end of line) to standard error.
  void errorPart(std::string_view text);

  // Reads the rest of the current line from the main buffer (drawing a new line when it is
  // empty) into `text`, without its end of line. False at the end of input with nothing read.
  bool readLine(std::string& text);
  // Skips white space in the main buffer, then reads one word up to the next white space,
  // which stays in the buffer (at a terminal, the rest of the line goes with the word when it
  // is only white space). False at the end of input before any character of a word.
  bool readWord(std::string& word);
  // One character from the main buffer, END_OF_INPUT or INTERRUPTED.
  int readChar();
  // One character from the key buffer, or END_OF_INPUT. At a terminal, one whole line: a
  // line that is not empty joins the main buffer as typed ahead; '\n' or END_OF_INPUT.
  int readKey();
  // Prints the question and the choices (a line each) and reads the answer: true for yes.
  // Without a terminal one character from the key buffer, yes unless it is Escape or the
  // end of input; at a terminal the whole-line rule above (the end of input is no).
  bool confirm(std::string_view question, std::string_view choices);

  void attachTerminal(Terminal* terminal) { terminal_ = terminal; }
  bool hasTerminal() const { return terminal_ != nullptr; }
  // Shows the command prompt: printed at once, or, with a line editor, handed to it by the
  // next readLine (which prints it when the line is already in the main buffer).
  void prompt(std::string_view text);
  // readWord for a password: what is drawn from a terminal meanwhile is typed hidden, and a
  // password typed ahead is not shown.
  bool readPassword(std::string& word);
  // The line editor's history is forgotten; its Tab completion asks `completer`.
  void forgetHistory();
  void setCompleter(Completer completer);

  // True when the last read that found nothing was cut short by Ctrl-C at a terminal.
  bool interrupted() const { return interrupted_; }

  // Writes 25 ends of line in one write.
  void clearScreen();
  // Writes out what is held and sends it to the screen now.
  void flush();
  // From now on, what is printed is held as said above (until then it is written at once).
  void holdOutput() { holding_ = true; }
  // Drops what is held and not yet shown.
  void dropOutput();
  // Writes text and an end of line to standard output at once, before what is held.
  void lineNow(std::string_view text);

  // The stretches of work: storage calls these when it takes the image's lock and when it has
  // given it back. Signals are held off in between (console/Signals.h); at the end what the
  // stretch printed is written out before the signals are let through, so one that ends the
  // program leaves it shown.
  void stretchBegins();
  void stretchEnds();

  // Called whenever the console is about to wait for the person at it (before every read of
  // the input): the shell gives the disk image back to other consoles there.
  void setBeforeInput(std::function<void()> hook) { beforeInput_ = std::move(hook); }
  // Runs that hook now: the line editor waits again after Tab has read the image.
  void runBeforeInput();

  // Ends the dialogue for good, after a message that ends the program: nothing more is
  // printed and every read sees the end of input, so whatever was running unwinds without
  // another word and without waiting.
  void close();
  bool isClosed() const { return closed_; }
  // "Press Enter to continue." and readKey.
  void waitForEnter();

 private:
  struct Buffer {
    std::string text;
    std::size_t pos = 0;
    std::size_t aheadFrom = std::string::npos;  // where the text typed ahead at waits begins
    bool empty() const { return pos >= text.size(); }
  };
  // The hook, then what is held written out; false when the console is closed (a commit in
  // the hook may have failed).
  bool awaitInput();
  void writeOutput();
  // Writes text to standard output, or (after what standard output holds) to standard error.
  void emit(bool error, std::string_view text);
  void hold(bool error, std::string_view text);
  bool refill(Buffer& buffer);
  // A line from a terminal, which may also end with a carriage return: what is typed while
  // the line editor holds the terminal reaches the input untranslated.
  bool readTypedLine(std::string& text);
  bool takeWord(std::string& word, bool hidden);
  // The rest of the key buffer's line (drawing one when it is empty), without its end of
  // line. False at the end of input.
  bool readKeyLine(std::string& text);
  // Appends a line typed at a wait to the main buffer.
  void typeAhead(const std::string& text);

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  Buffer main_;
  Buffer keys_;
  bool closed_ = false;
  bool interrupted_ = false;
  bool holding_ = false;
  // What is held: runs of text, each for standard error or standard output.
  std::vector<std::pair<bool, std::string>> held_;
  std::function<void()> beforeInput_;
  Terminal* terminal_ = nullptr;
  std::string prompt_;
};

}  // namespace fs5

#endif  // FS5_CONSOLE_CONSOLE_H_
