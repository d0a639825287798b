#include "tests/soak/SoakShell.h"

#include "storage/Layout.h"
#include "users/Format.h"

namespace fs5::soak {

namespace {
// Extra lines a step may read past its script before the input ends: enough to show how far
// the shell went, few enough that a loop waiting for more input ends quickly.
constexpr int kSpareLines = 8;
}  // namespace

void ScriptedInput::load(std::string script, int spare) {
  script_ = std::move(script);
  spareLeft_ = spare;
  spareRead_ = 0;
  pastScript_ = false;
  setg(script_.data(), script_.data(), script_.data() + script_.size());
}

std::size_t ScriptedInput::consumed() const {
  return pastScript_ ? script_.size() : static_cast<std::size_t>(gptr() - eback());
}

ScriptedInput::int_type ScriptedInput::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (spareLeft_ == 0) return traits_type::eof();
  --spareLeft_;
  ++spareRead_;
  pastScript_ = true;
  setg(&newline_, &newline_, &newline_ + 1);
  return traits_type::to_int_type(newline_);
}

ShellRun::ShellRun(const std::string& imagePath)
    : in_(&input_), con_(in_, out_, err_), ds_(con_, imagePath), state_(con_) {
  ds_.loadLayout();
}

void ShellRun::begin(std::string script, int spare) {
  input_.load(std::move(script), spare);
  in_.clear();
  out_.str("");
  err_.str("");
}

StepResult ShellRun::end() {
  StepResult r;
  r.out = out_.str();
  r.err = err_.str();
  r.scripted = input_.scriptSize();
  r.consumed = input_.consumed();
  r.spareLines = input_.spareLinesRead();
  r.exited = state_.isExitRequested();
  r.reentered = state_.isReenterRequested();
  r.streamFailed = ds_.failed();
  return r;
}

StepResult ShellRun::format(const std::string& password) {
  begin(password + "\n", 0);
  bool formatted = formatDisk(ds_, STANDARD_INODES, STANDARD_BLOCKS, STANDARD_USERS) == 0;
  StepResult r = end();
  if (!formatted) r.trouble = "the image was not formatted";
  return r;
}

StepResult ShellRun::login(const std::string& input) {
  begin(input, 0);
  state_.clearReenter();
  state_.login(ds_);
  return end();
}

StepResult ShellRun::command(const std::string& line, const std::string& input) {
  begin(line + "\n" + input, kSpareLines);
  std::size_t lineEnd = line.size() + 1;
  std::string trouble;
  for (int round = 0; input_.consumed() < lineEnd; ++round) {
    if (round == 2 || state_.isReenterRequested()) {
      trouble = "the command line was not read";
      break;
    }
    state_.printPrompt();
    if (!state_.readCommandLine()) {
      trouble = "the input ended before the command line";
      break;
    }
    state_.dispatchCommand(ds_, state_.getCurrentUser());
    con_.clearScreen();
    state_.resetCommand();
  }
  StepResult r = end();
  r.trouble = trouble;
  return r;
}

}  // namespace fs5::soak
