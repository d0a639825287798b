// The shell layer: program entry, login, the prompt and command line, argument paths, the
// dispatcher and the command branches. It calls every layer below it.
//
// ShellState is everything the shell knows about the current login and command line.
#ifndef FS5_SHELL_SHELLSTATE_H_
#define FS5_SHELL_SHELLSTATE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "console/Console.h"
#include "fsops/List.h"
#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "users/AccountStore.h"

namespace fs5 {

// The argument paths a command line keeps; the rest are read and dropped.
inline constexpr int MAX_ARGS = 3;

class ShellState {
 public:
  explicit ShellState(Console& con) : con_(con) {}

  Console& console() { return con_; }

  // Clears the command line, command word, options and the three arguments.
  void resetCommand();
  bool isExitRequested() const { return exitRequested_; }
  bool isReenterRequested() const { return reenterRequested_; }
  void clearReenter() { reenterRequested_ = false; }
  int16_t getCurrentUser() const { return currentUser_; }
  // Ends the program: after exit (status 0) or a fatal failure (status 1).
  void requestExit(int status);
  void requestReenter() { reenterRequested_ = true; }
  int exitStatus() const { return exitStatus_; }

  // Login dialogue: returns with a user logged in, or with the exit flags set.
  void login(DiskStream& ds);

  // "[<user> @fs5 <folder>/ ]# " ("$" for others; the root folder is shown as "/").
  std::string promptText() const;
  void printPrompt();
  // Reads and splits one line. False at the end of input.
  bool readCommandLine();
  // Splits a line already read (at most 749 characters) into command, options and arguments.
  void splitCommandLine(const std::string& line);

  const std::string& command() const { return command_; }
  const std::vector<char>& options() const { return options_; }
  bool hasArgument(int n) const;
  bool hasOption(char letter) const;
  const PathName& argument(int n) const { return args_[n]; }
  int argCount() const { return argCount_; }

  // The working folder: set by the login, moved only by cd, cleared by reenter.
  PathName& workFolder() { return workFolder_; }
  PathName& homeFolder() { return homeFolder_; }
  const std::vector<UserEntry>& users() const { return users_; }

  // Builds in `target` the absolute path that argument n names from the working folder:
  //   "/a/b" stays as it is; "../x" in /home/anna gives /home/x (only one leading "../" is
  //   taken off; at the root the go-up refusal is shown and the rest appended to "/");
  //   any other text is appended: "notes" gives /home/anna/notes, ".." /home/anna/..
  // Neither the working folder nor the argument changes. False when the target path cannot
  // be formed (too deep or too long: the path's messages are printed).
  bool resolveArgument(int n, PathName& target) const;

  // Runs the command that readCommandLine stored for `user`, the current user: the branches
  // take the user from their context, never from the state.
  void dispatchCommand(DiskStream& ds, int16_t user);

  // Clears the login part of the state for reenter.
  void clearPaths();

 private:
  void setUpLogin(DiskStream& ds, const std::string& name, int16_t number);

  Console& con_;
  std::string command_;
  std::vector<char> options_;
  std::array<PathName, MAX_ARGS> args_;
  int argCount_ = 0;
  PathName workFolder_;
  PathName homeFolder_;
  int16_t currentUser_ = 0;
  bool exitRequested_ = false;
  bool reenterRequested_ = false;
  int exitStatus_ = 0;
  std::vector<UserEntry> users_;
};

}  // namespace fs5

#endif  // FS5_SHELL_SHELLSTATE_H_
