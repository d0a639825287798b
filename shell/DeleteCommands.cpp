#include <string>

#include "fsops/Delete.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The found target's last component in double quotes, as the refusal lines name it.
std::string quotedTarget(const Handle& found) { return "\"" + found.name + "\""; }

// Looks the target of rm up and makes rm's checks; false when the branch has ended.
bool findFileToDelete(CommandContext& c, const PathName& target, Handle& found) {
  if (!findTarget(c, target, found)) return false;
  if (allows(c, DELETE_FROM, found)) return true;
  refuse(c, "You can not delete the " + quotedTarget(found) + " file.");
  return false;
}

// Looks the target of rmdir up and makes rmdir's checks; false when the branch has ended.
bool findFolderToDelete(CommandContext& c, const PathName& target, Handle& found) {
  if (!findTarget(c, target, found)) return false;
  if (found.node.isFile()) {
    c.con.line(quotedTarget(found) +
               " is a file, not a folder. You can not delete a file with this command.");
    c.con.line("Use \"rm\" command to delete a file.");
    c.con.waitForEnter();
    return false;
  }
  if (target.getText() == c.state.workFolder().getText()) {
    c.con.line("You can not delete a folder while you are in it.");
    c.con.waitForEnter();
    return false;
  }
  if (allows(c, DELETE_FROM, found)) return true;
  refuse(c, "You can not delete the " + quotedTarget(found) + " folder.");
  return false;
}

// Forms the target of argument 0, looks it up and checks it with `find`, then asks `ask`.
// The answer is a wait: only the path crosses it, and the target is looked up and checked
// again before anything is deleted. False when the branch has ended (a no ends with finish).
bool findConfirmedTarget(CommandContext& c, bool (*find)(CommandContext&, const PathName&, Handle&),
                         bool (*ask)(Console&), Handle& found) {
  PathName target;
  if (!requireArguments(c, 1) || !resolveTarget(c, 0, target) || !find(c, target, found))
    return false;
  if (ask(c.con)) return find(c, target, found);
  finish(c);
  return false;
}

}  // namespace

void runRm(CommandContext& c) {
  Handle found;
  if (!findConfirmedTarget(c, findFileToDelete, confirmFileDeletion, found)) return;
  deleteFile(c.ds, true, found);
  finish(c);
}

void runRmdir(CommandContext& c) {
  Handle found;
  if (!findConfirmedTarget(c, findFolderToDelete, confirmFolderDeletion, found)) return;
  deleteFolderTree(c.ds, true, found);
  finish(c);
}

}  // namespace fs5
