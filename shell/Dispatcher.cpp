#include "shell/Commands.h"
#include "storage/AccountRecord.h"

namespace fs5 {

namespace {

// clang-format off
constexpr CommandRow kCommands[] = {
    {"exit", runExit, false},
    {"reenter", runReenter, false},
    {"cd", runCd, true},
    {"ls", runLs, true},
    {"mkdir", runMkdir, true},
    {"rmdir", runRmdir, true},
    {"vi", runVi, true},
    {"cat", runCat, true},
    {"rm", runRm, true},
    {"cp", runCp, true},
    {"mv", runMv, true},
    {"adduser", runAdduser, true},
    {"deluser", runDeluser, true},
    {"chown", runChown, true},
    {"chmod", runChmod, true},
    {"mkfs", runMkfs, true},
};
// clang-format on

}  // namespace

std::vector<std::string_view> commandWords() {
  std::vector<std::string_view> words;
  for (const CommandRow& row : kCommands) words.push_back(row.word);
  return words;
}

bool requireSuperuser(CommandContext& c, std::string_view onlyLine) {
  if (c.user == SUPERUSER) return true;
  c.con.line(onlyLine);
  c.con.waitForEnter();
  return false;
}

bool requireArguments(CommandContext& c, int count) {
  bool present = c.state.hasArgument(0) && (count < 2 || c.state.hasArgument(1));
  if (present) return true;
  c.con.line(count < 2 ? "This command requires 1 argument."
                       : "This command requires 2 arguments.");
  c.con.waitForEnter();
  return false;
}

bool resolveTarget(CommandContext& c, int n, PathName& target) {
  if (c.state.resolveArgument(n, target)) return true;
  c.con.waitForEnter();
  return false;
}

bool findTarget(CommandContext& c, const PathName& target, Handle& found) {
  found = lookup(c.ds, true, target);
  if (found.found()) return true;
  c.con.waitForEnter();
  return false;
}

bool accessGranted(CommandContext& c, bool granted) {
  if (!granted) c.con.line("Access denied.");
  return granted;
}

void finish(CommandContext& c) {
  c.con.line();
  c.con.waitForEnter();
}

void refuse(CommandContext& c, std::string_view line) {
  c.con.line(line);
  finish(c);
}

void ShellState::dispatchCommand(DiskStream& ds, int16_t user) {
  if (command_.empty()) return;
  CommandContext context{*this, ds, con_, user};
  for (const CommandRow& row : kCommands) {
    if (row.word != command_) continue;
    if (row.framed) con_.line();
    row.handler(context);
    return;
  }
  con_.line();
  con_.line("Command not found.");
  con_.waitForEnter();
}

}  // namespace fs5
