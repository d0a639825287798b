#include "console/Console.h"

#include <utility>

#include "console/Signals.h"

namespace fs5 {

namespace {
// White space as the C locale has it, whatever locale the line editor was given: the command
// line and the login's words are split byte by byte.
bool isWhite(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The rest of a line after a word, up to and with its end of line, when it is all white space.
bool onlyWhiteToLineEnd(std::string_view rest) {
  std::size_t end = rest.find('\n');
  return end != std::string_view::npos &&
         rest.substr(0, end).find_first_not_of(" \t\v\f\r") == std::string_view::npos;
}
}  // namespace

Console::Console(std::istream& in, std::ostream& out, std::ostream& err)
    : in_(in), out_(out), err_(err) {}

Console::~Console() { flush(); }

void Console::emit(bool error, std::string_view text) {
  if (!error) {
    out_.write(text.data(), text.size());
    return;
  }
  out_.flush();
  err_.write(text.data(), text.size());
  err_.flush();
}

void Console::hold(bool error, std::string_view text) {
  if (closed_ || text.empty()) return;
  if (!holding_) return emit(error, text);
  if (held_.empty() || held_.back().first != error) held_.emplace_back(error, std::string());
  held_.back().second += text;
}

void Console::writeOutput() {
  for (const auto& [error, text] : held_) emit(error, text);
  held_.clear();
}

void Console::dropOutput() { held_.clear(); }

void Console::lineNow(std::string_view text) {
  if (closed_) return;
  out_ << text << '\n';
  out_.flush();
}

void Console::print(std::string_view text) { hold(false, text); }

void Console::line(std::string_view text) {
  std::string whole(text);
  whole.push_back('\n');
  print(whole);
}

void Console::error(std::string_view text) {
  std::string whole(text);
  whole.push_back('\n');
  errorPart(whole);
}

void Console::errorPart(std::string_view text) { hold(true, text); }

void Console::runBeforeInput() {
  if (!closed_ && beforeInput_) beforeInput_();
}

bool Console::awaitInput() {
  runBeforeInput();
  flush();
  return !closed_;
}

bool Console::refill(Buffer& buffer) {
  buffer = Buffer{};
  interrupted_ = false;
  if (!awaitInput() || !in_.good()) return false;
  if (terminal_ != nullptr) return readTypedLine(buffer.text);
  std::getline(in_, buffer.text);
  if (!in_.eof()) {
    buffer.text.push_back('\n');
  } else if (buffer.text.empty()) {
    return false;
  }
  return true;
}

bool Console::readTypedLine(std::string& text) {
  auto next = [this] { return waitForInput() ? in_.get() : std::char_traits<char>::eof(); };
  for (int c = next(); c != std::char_traits<char>::eof(); c = next()) {
    if (c == '\n' || c == '\r') {
      text.push_back('\n');
      return true;
    }
    text.push_back(static_cast<char>(c));
  }
  if (takeInterrupt()) {  // the read was cut short by Ctrl-C, not ended
    print("\n");          // after the "^C" the terminal shows
    text.clear();
    in_.clear();
    terminal_->clearInputError();
    interrupted_ = true;
    return false;
  }
  return !text.empty();
}

bool Console::readLine(std::string& text) {
  text.clear();
  std::string prompt = std::exchange(prompt_, {});
  bool editing = terminal_ != nullptr && terminal_->hasEditor();
  if (main_.empty() && editing) {
    for (;;) {
      if (!awaitInput()) return false;
      takeInterrupt();  // a Ctrl-C before the prompt was shown abandons nothing
      if (terminal_->editLine(prompt, text)) return true;
      if (!terminal_->abandoned()) return false;
      print("\n");
    }
  }
  print(prompt);
  while (main_.empty() && !refill(main_)) {
    if (!interrupted_) return false;
    print(prompt);
  }
  bool typedAhead = main_.pos >= main_.aheadFrom;
  std::size_t end = main_.text.find('\n', main_.pos);
  if (end == std::string::npos) {
    text = main_.text.substr(main_.pos);
    main_.pos = main_.text.size();
  } else {
    text = main_.text.substr(main_.pos, end - main_.pos);
    main_.pos = end + 1;
  }
  if (editing && typedAhead) {
    line(text);
    terminal_->remember(text);
  }
  return true;
}

bool Console::readWord(std::string& word) { return takeWord(word, false); }

bool Console::takeWord(std::string& word, bool hidden) {
  word.clear();
  for (;;) {
    while (!main_.empty() && isWhite(main_.text[main_.pos])) ++main_.pos;
    if (!main_.empty()) break;
    if (!refill(main_)) return false;
  }
  bool typedAhead = main_.pos >= main_.aheadFrom;
  while (!main_.empty() && !isWhite(main_.text[main_.pos])) word.push_back(main_.text[main_.pos++]);
  if (terminal_ == nullptr) return true;
  std::string_view rest = std::string_view(main_.text).substr(main_.pos);
  bool lineEnds = onlyWhiteToLineEnd(rest);
  if (lineEnds) main_.pos += rest.find('\n') + 1;
  if (typedAhead && terminal_->hasEditor())
    print((hidden ? std::string() : word) + (lineEnds ? "\n" : ""));
  return true;
}

int Console::readChar() {
  if (main_.empty() && !refill(main_)) return interrupted_ ? INTERRUPTED : END_OF_INPUT;
  return static_cast<unsigned char>(main_.text[main_.pos++]);
}

int Console::readKey() {
  if (terminal_ != nullptr) {
    std::string typed;
    if (!readKeyLine(typed)) return interrupted_ ? '\n' : END_OF_INPUT;
    if (!typed.empty()) typeAhead(typed);
    return '\n';
  }
  if (keys_.empty() && !refill(keys_)) return END_OF_INPUT;
  return static_cast<unsigned char>(keys_.text[keys_.pos++]);
}

bool Console::readKeyLine(std::string& text) {
  if (keys_.empty() && !refill(keys_)) return false;
  text = keys_.text.substr(keys_.pos);
  keys_.pos = keys_.text.size();
  if (text.ends_with('\n')) text.pop_back();
  return true;
}

void Console::typeAhead(const std::string& text) {
  if (main_.empty()) main_ = Buffer{};
  if (main_.aheadFrom == std::string::npos) main_.aheadFrom = main_.text.size();
  main_.text += text + '\n';
}

bool Console::confirm(std::string_view question, std::string_view choices) {
  for (int asked = 1;; ++asked) {
    line(question);
    line(choices);
    if (terminal_ == nullptr) {
      int answer = readKey();
      return answer != KEY_ESCAPE && answer != END_OF_INPUT;
    }
    std::string answer;
    if (!readKeyLine(answer)) return false;
    if (answer.empty()) return true;
    if (answer.front() == KEY_ESCAPE || asked == 2) return false;
  }
}

void Console::prompt(std::string_view text) {
  if (terminal_ != nullptr && terminal_->hasEditor()) {
    prompt_ = text;
  } else {
    print(text);
  }
}

bool Console::readPassword(std::string& word) {
  if (terminal_ != nullptr) terminal_->hideTyping();
  bool read = takeWord(word, true);
  if (terminal_ != nullptr) terminal_->showTyping();
  return read;
}

void Console::forgetHistory() {
  if (terminal_ != nullptr) terminal_->forgetHistory();
}

void Console::setCompleter(Completer completer) {
  if (terminal_ != nullptr) terminal_->setCompleter(std::move(completer));
}

void Console::clearScreen() { print(std::string(CLEAR_LINES, '\n')); }

void Console::flush() {
  writeOutput();
  out_.flush();
}

void Console::close() {
  flush();
  closed_ = true;
  main_ = keys_ = Buffer{};
}

void Console::stretchBegins() { holdSignals(); }

void Console::stretchEnds() {
  flush();
  releaseSignals();
}

void Console::waitForEnter() {
  line("Press Enter to continue.");
  readKey();
}

}  // namespace fs5
