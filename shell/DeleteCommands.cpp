#include <string>

#include "fsops/Delete.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The target's last component in double quotes, as the refusal lines name it.
std::string quotedTarget(CommandContext& c) {
  return "\"" + c.state.workFolder().lastName() + "\"";
}

// Ends a branch refused before the rights test: the wait, the working folder put back.
void waitAndRestore(CommandContext& c) {
  c.con.waitForEnter();
  c.state.restoreWorkFolder(0);
}

}  // namespace

void runRm(CommandContext& c) {
  if (!requireArguments(c, 1) || !resolveTarget(c, 0)) return;
  if (!c.state.targetExists(c.ds)) return missing(c, 0);
  if (!holderAllows(c, RIGHT_WRITE))
    return refuse(c, "You can not delete the " + quotedTarget(c) + " file.", 0);
  std::string target = c.state.workFolder().getText();
  deleteFile(c.ds, true, target);
  finish(c, 0);
}

void runRmdir(CommandContext& c) {
  if (!requireArguments(c, 1)) return;
  std::string working = c.state.workFolder().getText();
  if (!resolveTarget(c, 0)) return;
  if (!c.state.targetExists(c.ds)) return missing(c, 0);
  if (c.state.targetIsFile(c.ds)) {
    c.con.line(quotedTarget(c) +
               " is a file, not a folder. You can not delete a file with this command.");
    c.con.line("Use \"rm\" command to delete a file.");
    return waitAndRestore(c);
  }
  std::string target = c.state.workFolder().getText();
  if (target == working) {
    c.con.line("You can not delete a folder while you are in it.");
    return waitAndRestore(c);
  }
  if (!holderAllows(c, RIGHT_WRITE))
    return refuse(c, "You can not delete the " + quotedTarget(c) + " folder.", 0);
  deleteFolderTree(c.ds, true, target);
  finish(c, 0);
}

}  // namespace fs5
