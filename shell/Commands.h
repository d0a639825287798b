// The command table and the helpers every command branch shares.
//
// A branch reads as: guard, resolve, check, act, end. It ends in one of three ways:
//   finish:  an empty line, "Press Enter to continue.", the working folder put back;
//   refuse:  the command's refusal line, an empty line, the wait, the working folder put back;
//   missing: the target was not found (the lookup's line and a wait were shown), the working
//            folder put back.
#ifndef FS5_SHELL_COMMANDS_H_
#define FS5_SHELL_COMMANDS_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "shell/ShellState.h"
#include "storage/DiskStream.h"

namespace fs5 {

// Everything a branch works with.
struct CommandContext {
  ShellState& state;
  DiskStream& ds;
  Console& con;
  int16_t user;  // the user number passed to the dispatcher: owner of new folders and files
};

using CommandHandler = void (*)(CommandContext&);

struct CommandRow {
  std::string_view word;
  CommandHandler handler;
  bool framed;  // writes the frame's empty line before the branch runs
};

// The command words of the command table, in its order.
std::vector<std::string_view> commandWords();

// Guards: each prints its refusal and waits when it fails.
bool requireSuperuser(CommandContext& c, std::string_view onlyLine);
bool requireArguments(CommandContext& c, int count);
// Resolves argument n into the working-folder field; when the path cannot be formed, waits,
// puts the working folder back and returns false.
bool resolveTarget(CommandContext& c, int n);

// Rights tests on the target held in the working-folder field: the object itself, or the
// folder that holds it (the root for a one-component target).
bool objectAllows(CommandContext& c, int k);
bool holderAllows(CommandContext& c, int k);

void finish(CommandContext& c, int n);
void refuse(CommandContext& c, std::string_view line, int n);
void missing(CommandContext& c, int n);

// Branches.
void runExit(CommandContext& c);
void runReenter(CommandContext& c);
void runMkfs(CommandContext& c);

// Navigation, making and reading, owner and rights.
void runCd(CommandContext& c);
void runLs(CommandContext& c);
void runMkdir(CommandContext& c);
void runVi(CommandContext& c);
void runCat(CommandContext& c);
void runChown(CommandContext& c);
void runChmod(CommandContext& c);

// Deletion and account branches.
void runRm(CommandContext& c);
void runRmdir(CommandContext& c);
void runAdduser(CommandContext& c);
void runDeluser(CommandContext& c);

// Copying and moving.
// The part of a two-path command (cp, mv) before it acts: the two-argument guard, argument 0
// resolved and kept in `source`, argument 1 resolved into the working-folder field, then the
// read right on the folder that holds the source and, only when that is granted, the write
// right on the destination: on the destination itself when it names an existing folder, else
// on the folder that holds it. With `takesFromSource` (a move) the write right on the folder
// that holds the source is tested between the two. The tests stop at the first refusal, so
// at most one "Access denied." is printed. True when all are granted; the branch then acts
// and ends with finish for argument 1. False when the branch has ended: a guard or an
// unformable path (printed, waited, working folder put back), or a refusal, ended by refuse
// with the line `refusalPrefix`, the source's last component, `refusalSuffix`.
bool resolveSourceAndDestination(CommandContext& c, PathName& source, bool takesFromSource,
                                 std::string_view refusalPrefix, std::string_view refusalSuffix);
// cp source destination (copyFile); cp -R source destination (copyFolderTree).
void runCp(CommandContext& c);
// mv source destination (moveFile).
void runMv(CommandContext& c);

}  // namespace fs5

#endif  // FS5_SHELL_COMMANDS_H_
