#include "console/Console.h"

#include <cctype>
#include <utility>

namespace fs5 {

namespace {
bool isWhite(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
}  // namespace

Console::Console(std::istream& in, std::ostream& out, std::ostream& err)
    : in_(in), out_(out), err_(err) {}

void Console::print(std::string_view text) {
  if (!closed_) out_.write(text.data(), text.size());
}

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

void Console::errorPart(std::string_view text) {
  if (closed_) return;
  out_.flush();
  err_.write(text.data(), text.size());
  err_.flush();
}

bool Console::refill(Buffer& buffer) {
  out_.flush();
  buffer.text.clear();
  buffer.pos = 0;
  if (closed_ || !in_.good()) return false;
  if (beforeInput_) beforeInput_();
  std::getline(in_, buffer.text);
  if (!in_.eof()) {
    buffer.text.push_back('\n');
  } else if (buffer.text.empty()) {
    return false;
  }
  return true;
}

bool Console::readLine(std::string& text) {
  text.clear();
  std::string prompt = std::exchange(prompt_, {});
  if (main_.empty() && terminal_ != nullptr && terminal_->hasEditor()) {
    out_.flush();
    if (closed_) return false;
    if (beforeInput_) beforeInput_();
    return terminal_->editLine(prompt, text);
  }
  print(prompt);
  if (main_.empty() && !refill(main_)) return false;
  std::size_t end = main_.text.find('\n', main_.pos);
  if (end == std::string::npos) {
    text = main_.text.substr(main_.pos);
    main_.pos = main_.text.size();
  } else {
    text = main_.text.substr(main_.pos, end - main_.pos);
    main_.pos = end + 1;
  }
  return true;
}

bool Console::readWord(std::string& word) {
  word.clear();
  for (;;) {
    while (!main_.empty() && isWhite(main_.text[main_.pos])) ++main_.pos;
    if (!main_.empty()) break;
    if (!refill(main_)) return false;
  }
  while (!main_.empty() && !isWhite(main_.text[main_.pos])) word.push_back(main_.text[main_.pos++]);
  return true;
}

int Console::readChar() {
  if (main_.empty() && !refill(main_)) return END_OF_INPUT;
  return static_cast<unsigned char>(main_.text[main_.pos++]);
}

int Console::readKey() {
  if (keys_.empty() && !refill(keys_)) return END_OF_INPUT;
  return static_cast<unsigned char>(keys_.text[keys_.pos++]);
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
  bool read = readWord(word);
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

void Console::flush() { out_.flush(); }

void Console::close() {
  out_.flush();
  closed_ = true;
  main_ = keys_ = Buffer{};
}

void Console::waitForEnter() {
  line("Press Enter to continue.");
  readKey();
}

}  // namespace fs5
