#include <string>

#include "fsops/Delete.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The found target's last component in double quotes, as the refusal lines name it.
std::string quotedTarget(const Handle& found) { return "\"" + found.name + "\""; }

}  // namespace

void runRm(CommandContext& c) {
  PathName target;
  Handle found;
  if (!requireArguments(c, 1) || !resolveTarget(c, 0, target) || !findTarget(c, target, found))
    return;
  if (!allows(c, DELETE_FROM, found))
    return refuse(c, "You can not delete the " + quotedTarget(found) + " file.");
  deleteFile(c.ds, true, found);
  finish(c);
}

void runRmdir(CommandContext& c) {
  PathName target;
  Handle found;
  if (!requireArguments(c, 1) || !resolveTarget(c, 0, target) || !findTarget(c, target, found))
    return;
  if (found.node.isFile()) {
    c.con.line(quotedTarget(found) +
               " is a file, not a folder. You can not delete a file with this command.");
    c.con.line("Use \"rm\" command to delete a file.");
    return c.con.waitForEnter();
  }
  if (target.getText() == c.state.workFolder().getText()) {
    c.con.line("You can not delete a folder while you are in it.");
    return c.con.waitForEnter();
  }
  if (!allows(c, DELETE_FROM, found))
    return refuse(c, "You can not delete the " + quotedTarget(found) + " folder.");
  deleteFolderTree(c.ds, true, found);
  finish(c);
}

}  // namespace fs5
