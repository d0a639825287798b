// The command table and the helpers every command branch shares.
//
// A branch reads as: guard, resolve, look up, check, act, end. The target is a path of the
// branch's own, built from the argument; the working folder stays as it is (cd alone moves
// it). The target is looked up once and its handle handed both to the rights rule and to the
// operation. Only the path crosses a wait for the person: a branch that waits before it acts
// (rm's and rmdir's question, vi -i's typing) looks the target up and checks it again after
// the wait. A branch ends in one of two ways after it has acted or been refused:
//   finish:  an empty line, "Press Enter to continue.";
//   refuse:  the command's refusal line, an empty line, the wait.
// A target that cannot be formed or is not found has shown its lines and a wait already.
#ifndef FS5_SHELL_COMMANDS_H_
#define FS5_SHELL_COMMANDS_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "fsops/Lookup.h"
#include "shell/ShellState.h"
#include "storage/DiskStream.h"
#include "users/CommandRights.h"

namespace fs5 {

// Everything a branch works with.
struct CommandContext {
  ShellState& state;
  DiskStream& ds;
  Console& con;
  int16_t user;  // the current user: owner of new folders and files, and whose rights count
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
// Builds the target of argument n in `target`; when the path cannot be formed, waits and
// returns false.
bool resolveTarget(CommandContext& c, int n, PathName& target);
// Looks the target up (with verbose); when it names nothing usable, the lookup's line has
// been shown: waits and returns false.
bool findTarget(CommandContext& c, const PathName& target, Handle& found);

// The answer of a command's rights rule (users/CommandRights.h) for the current user, passed
// on: a refusal prints "Access denied.".
bool accessGranted(CommandContext& c, bool granted);
// The current user's rights under `rule` on the object: what a lookup found, or a path.
template <typename Object>
bool allows(CommandContext& c, AccessRule rule, const Object& object) {
  return accessGranted(c, mayAct(c.ds, c.user, rule, object));
}

void finish(CommandContext& c);
void refuse(CommandContext& c, std::string_view line);

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
// The part of a two-path command (cp, mv) before it acts: the two-argument guard, both
// targets formed, the destination looked up without verbose, then the read right on the
// folder that holds the source and, only when that is granted, the write right on the
// destination: on the destination itself when it names an existing folder, else on the
// folder that holds it. With `takesFromSource` (a move) the write right on the folder that
// holds the source is tested between the two. The tests stop at the first refusal, so at
// most one "Access denied." is printed. When all are granted the source is looked up (with
// verbose) and true returned; the branch then acts and ends with finish. False when the
// branch has ended: a guard or an unformable path (printed and waited), or a refusal, ended
// by refuse with the line `refusalPrefix`, the source's last component, `refusalSuffix`.
bool resolveSourceAndDestination(CommandContext& c, bool takesFromSource,
                                 std::string_view refusalPrefix, std::string_view refusalSuffix,
                                 Handle& source, Handle& destination);
// cp source destination (copyFile); cp -R source destination (copyFolderTree).
void runCp(CommandContext& c);
// mv source destination (moveFile).
void runMv(CommandContext& c);

}  // namespace fs5

#endif  // FS5_SHELL_COMMANDS_H_
