// The terminal part of the console: what changes when a person types at a terminal. Only the
// console calls it, and only when standard input is a terminal; piped input never gets here.
//   - Hidden typing: echo off while a password is typed. The end of line the person types is
//     still echoed, so the cursor moves to the next line as it would with echo on.
//   - The line editor (libedit), when standard output is a terminal too: editing keys, the
//     history of the lines typed since it was last forgotten (kept in memory only), and Tab
//     completion from candidates the shell supplies through a callback.
#ifndef FS5_CONSOLE_TERMINAL_H_
#define FS5_CONSOLE_TERMINAL_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct editline;
struct history;

namespace fs5 {

// The candidates for the word that ends at the cursor, given the text before the cursor:
// whole names that the part of the word after its last "/" may become (a folder's name ends
// with "/"). Tab inserts what they all share, but a folder's "/": a unique name that is not a
// folder also gets a blank, and a unique folder is completed as a word the commands take.
// Tab on a complete unique folder name adds the "/" and lists the folder's entries. A second
// Tab at the same place where several names are left lists them.
using Completer = std::function<std::vector<std::string>(std::string_view before)>;

class Terminal {
 public:
  // Looks at standard input and output; the line editor is set up when both are terminals,
  // and the program's character type (LC_CTYPE only) is then taken from the environment, so
  // that the editor reads and shows the terminal's multibyte characters (UTF-8 when the
  // environment names no locale). Nothing else depends on it: words are split byte by byte.
  Terminal();
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool isInputTerminal() const { return input_; }
  bool hasEditor() const { return editor_ != nullptr; }

  // Echo off (the typed end of line still echoed) until showTyping. While it is off, SIGINT,
  // SIGTERM, SIGHUP and SIGQUIT put the terminal's settings back before they end the program
  // (those the program handles itself, console/Signals.h, are left to it).
  void hideTyping();
  void showTyping();

  // Reads one line with the line editor, which shows `prompt`; the line has no end of line
  // and, when not empty, joins the history. False at the end of input, or with abandoned()
  // true when Ctrl-C abandoned the line: while a line is edited, Ctrl-C is not the terminal's
  // interrupt key but an editing key.
  bool editLine(const std::string& prompt, std::string& line);
  bool abandoned() const { return abandoned_; }
  // Forgets that a read of standard input was cut short by a signal.
  void clearInputError();
  // Adds a line that was not typed at the editor (typed ahead) to the history, when not empty.
  void remember(const std::string& line);
  void forgetHistory();
  void setCompleter(Completer completer) { completer_ = std::move(completer); }

 private:
  static char* promptOf(editline* el);
  static unsigned char onTab(editline* el, int key);
  static unsigned char onInterrupt(editline* el, int key);
  // Sets the terminal's interrupt key (VINTR) to `key`; returns the one it had.
  static unsigned char setInterruptKey(unsigned char key);
  unsigned char complete();
  // Adds the "/" after the complete folder name that ends `before` and lists its entries.
  unsigned char enterFolder(const std::string& before);
  // The completer's names, sorted, each once.
  std::vector<std::string> candidates(const std::string& before);

  bool input_ = false;
  bool hidden_ = false;
  bool abandoned_ = false;
  editline* editor_ = nullptr;
  history* history_ = nullptr;
  std::string prompt_;
  Completer completer_;
  std::string ambiguousAt_;  // the line and cursor of the last Tab that left several names
};

}  // namespace fs5

#endif  // FS5_CONSOLE_TERMINAL_H_
