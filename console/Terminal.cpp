#include "console/Terminal.h"

#include <histedit.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <string_view>
#include <utility>

namespace fs5 {

namespace {

constexpr int kHistoryLines = 500;
// Keys bound as common shells have them, whatever the terminal's description says (libedit's
// emacs keys already give Ctrl-A, Ctrl-E, Ctrl-K and the arrows).
// clang-format off
constexpr std::pair<const char*, const char*> kBindings[] = {
    {"^I", "fs5-complete"},        {"^U", "vi-kill-line-prev"},  {"^C", "fs5-abandon"},
    {"\033[H", "ed-move-to-beg"},  {"\033[F", "ed-move-to-end"},
    {"\033[1~", "ed-move-to-beg"}, {"\033[4~", "ed-move-to-end"},
    {"\033[3~", "ed-delete-next-char"}};
// clang-format on
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// A signal handler reaches only static storage: the settings that hideTyping replaced, and
// the actions it replaced.
termios savedSettings;
struct sigaction savedActions[kSignalCount];

void restoreAndEnd(int signal) {
  tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// The line editor codes characters by LC_CTYPE: without a locale (the "C" one) it drops every
// byte of a multibyte character. A terminal is taken to speak UTF-8 when the environment
// names no locale.
void useTerminalCharacters() {
  const char* chosen = std::setlocale(LC_CTYPE, "");
  std::string_view name = chosen == nullptr ? "C" : chosen;
  if (name == "C" || name == "POSIX") std::setlocale(LC_CTYPE, "C.UTF-8");
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// What all the names begin with, never ending inside a multibyte character nor with a
// folder's closing "/" (a word the commands take ends without it).
std::string sharedPrefix(const std::vector<std::string>& names) {
  const std::string& first = names.front();
  std::string prefix = first;
  for (const std::string& name : names)
    prefix.erase(std::mismatch(prefix.begin(), prefix.end(), name.begin(), name.end()).first,
                 prefix.end());
  while (!prefix.empty() && prefix.size() < first.size() &&
         isContinuationByte(first[prefix.size()]))
    prefix.pop_back();
  if (prefix.ends_with('/')) prefix.pop_back();
  return prefix;
}

void listNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\n" : "  ") + name;
  text += "\n";
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace

Terminal::Terminal() : input_(isatty(STDIN_FILENO) == 1) {
  if (!input_ || isatty(STDOUT_FILENO) != 1) return;
  useTerminalCharacters();
  // The editor learns the terminal's keys when it starts and whenever they change: it starts
  // with no interrupt key, as it will always find the terminal (editLine), so that it never
  // binds Ctrl-C to its own interrupt action in place of abandoning the line.
  unsigned char interrupt = setInterruptKey(_POSIX_VDISABLE);
  editor_ = el_init("fs5sh", stdin, stdout, stderr);
  setInterruptKey(interrupt);
  history_ = history_init();
  if (editor_ == nullptr || history_ == nullptr) {
    if (editor_ != nullptr) el_end(editor_);
    if (history_ != nullptr) history_end(history_);
    editor_ = nullptr;
    history_ = nullptr;
    return;
  }
  HistEvent event;
  ::history(history_, &event, H_SETSIZE, kHistoryLines);
  ::history(history_, &event, H_SETUNIQUE, 1);
  el_set(editor_, EL_CLIENTDATA, this);
  el_set(editor_, EL_EDITOR, "emacs");
  el_set(editor_, EL_SIGNAL, 1);
  el_set(editor_, EL_PROMPT, &Terminal::promptOf);
  el_set(editor_, EL_HIST, ::history, history_);
  // The wide form keeps the two texts as they are (the narrow one copies them for good).
  el_wset(editor_, EL_ADDFN, L"fs5-complete", L"Complete the word before the cursor",
          &Terminal::onTab);
  el_wset(editor_, EL_ADDFN, L"fs5-abandon", L"Abandon the line", &Terminal::onInterrupt);
  for (const auto& [keys, action] : kBindings) el_set(editor_, EL_BIND, keys, action, nullptr);
}

Terminal::~Terminal() {
  showTyping();
  if (editor_ != nullptr) el_end(editor_);
  if (history_ != nullptr) history_end(history_);
}

void Terminal::hideTyping() {
  if (!input_ || hidden_ || tcgetattr(STDIN_FILENO, &savedSettings) != 0) return;
  struct sigaction action {};
  action.sa_handler = restoreAndEnd;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kEndingSignals[i], nullptr, &savedActions[i]);
    if (savedActions[i].sa_handler == SIG_DFL) sigaction(kEndingSignals[i], &action, nullptr);
  }
  termios quiet = savedSettings;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  quiet.c_lflag |= ECHONL;
  tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  hidden_ = true;
}

void Terminal::showTyping() {
  if (!hidden_) return;
  tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
  for (int i = 0; i < kSignalCount; ++i) sigaction(kEndingSignals[i], &savedActions[i], nullptr);
  hidden_ = false;
}

unsigned char Terminal::setInterruptKey(unsigned char key) {
  termios settings;
  if (tcgetattr(STDIN_FILENO, &settings) != 0) return key;
  unsigned char before = settings.c_cc[VINTR];
  settings.c_cc[VINTR] = key;
  tcsetattr(STDIN_FILENO, TCSANOW, &settings);
  return before;
}

void Terminal::clearInputError() { std::clearerr(stdin); }

bool Terminal::editLine(const std::string& prompt, std::string& line) {
  prompt_ = prompt;
  ambiguousAt_.clear();
  abandoned_ = false;
  int count = 0;
  unsigned char interrupt = setInterruptKey(_POSIX_VDISABLE);
  const char* typed = el_gets(editor_, &count);
  setInterruptKey(interrupt);
  if (typed == nullptr || count <= 0) return false;
  line.assign(typed, count);
  if (line.ends_with('\n')) line.pop_back();
  remember(line);
  return true;
}

void Terminal::remember(const std::string& line) {
  HistEvent event;
  if (history_ != nullptr && !line.empty()) ::history(history_, &event, H_ENTER, line.c_str());
}

void Terminal::forgetHistory() {
  HistEvent event;
  if (history_ != nullptr) ::history(history_, &event, H_CLEAR);
}

char* Terminal::promptOf(editline* el) {
  void* self = nullptr;
  el_get(el, EL_CLIENTDATA, &self);
  return static_cast<Terminal*>(self)->prompt_.data();
}

unsigned char Terminal::onTab(editline* el, int) {
  void* self = nullptr;
  el_get(el, EL_CLIENTDATA, &self);
  return static_cast<Terminal*>(self)->complete();
}

unsigned char Terminal::onInterrupt(editline* el, int) {
  void* self = nullptr;
  el_get(el, EL_CLIENTDATA, &self);
  static_cast<Terminal*>(self)->abandoned_ = true;
  return CC_EOF;
}

std::vector<std::string> Terminal::candidates(const std::string& before) {
  std::vector<std::string> names = completer_ ? completer_(before) : std::vector<std::string>{};
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

unsigned char Terminal::complete() {
  const LineInfo* info = el_line(editor_);
  std::string before(info->buffer, info->cursor), after(info->cursor, info->lastchar);
  std::vector<std::string> names = candidates(before);
  if (names.empty()) return CC_ERROR;
  std::size_t cut = before.find_last_of(" /");
  std::string typed = before.substr(cut == std::string::npos ? 0 : cut + 1);
  if (names.size() == 1 && names.front() == typed + "/") return enterFolder(before);
  std::string shared = sharedPrefix(names);
  std::string added = typed.size() < shared.size() ? shared.substr(typed.size()) : "";
  if (names.size() == 1 && !names.front().ends_with('/')) added += ' ';
  std::string place = before + added + '\0' + after;
  bool again = place == ambiguousAt_;
  ambiguousAt_ = names.size() > 1 ? place : "";
  if (!added.empty()) return el_insertstr(editor_, added.c_str()) == 0 ? CC_REFRESH : CC_ERROR;
  if (!again) return CC_ERROR;
  listNames(names);
  return CC_REDISPLAY;
}

unsigned char Terminal::enterFolder(const std::string& before) {
  ambiguousAt_.clear();
  if (el_insertstr(editor_, "/") != 0) return CC_ERROR;
  std::vector<std::string> names = candidates(before + "/");
  if (names.empty()) return CC_REFRESH;
  listNames(names);
  return CC_REDISPLAY;
}

}  // namespace fs5
