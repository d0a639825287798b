// The real shell run in-process, one command at a time, over console input that the test
// scripts for each step: the same loop as the program's (prompt, read, dispatch, clear the
// screen, reset), stopped after every command so the image can be judged.
#ifndef FS5_TESTS_SOAK_SOAKSHELL_H_
#define FS5_TESTS_SOAK_SOAKSHELL_H_

#include <istream>
#include <sstream>
#include <streambuf>
#include <string>

#include "console/Console.h"
#include "shell/ShellState.h"
#include "storage/DiskStream.h"

namespace fs5::soak {

// Console input for one step: the scripted text, then (when the shell reads past it) up to
// `spare` extra empty lines, then the end of input. It counts how much was read.
class ScriptedInput : public std::streambuf {
 public:
  void load(std::string script, int spare);
  std::size_t scriptSize() const { return script_.size(); }
  // Bytes of the script read so far.
  std::size_t consumed() const;
  int spareLinesRead() const { return spareRead_; }

 protected:
  int_type underflow() override;

 private:
  std::string script_;
  int spareLeft_ = 0;
  int spareRead_ = 0;
  bool pastScript_ = false;
  char newline_ = '\n';
};

// What one step printed and read.
struct StepResult {
  std::string out;
  std::string err;
  std::size_t scripted = 0;  // bytes scripted for the step, the command line included
  std::size_t consumed = 0;  // bytes of them the shell read
  int spareLines = 0;        // empty lines read past the script
  std::string trouble;       // set when the shell did not read the command line
  bool exited = false;
  bool reentered = false;
  bool streamFailed = false;
};

// One run of the program on the image: its console, image stream and shell state.
class ShellRun {
 public:
  explicit ShellRun(const std::string& imagePath);

  // Formats the image as mkfs does, with the password read from the console.
  StepResult format(const std::string& password);
  // The login dialogue over `input` (name and password lines, a key for each refusal).
  StepResult login(const std::string& input);
  // Types `line` at the prompt, with `input` for whatever the command reads; runs command
  // loops until the line has been read and dispatched (an empty line left in the console
  // by the previous step is read and dispatched first, as the program does).
  StepResult command(const std::string& line, const std::string& input);

  int16_t currentUser() const { return state_.getCurrentUser(); }
  const ShellState& state() const { return state_; }

 private:
  void begin(std::string script, int spare);
  StepResult end();

  ScriptedInput input_;
  std::istream in_;
  std::ostringstream out_;
  std::ostringstream err_;
  Console con_;
  FileDiskStream ds_;
  ShellState state_;
};

}  // namespace fs5::soak

#endif  // FS5_TESTS_SOAK_SOAKSHELL_H_
