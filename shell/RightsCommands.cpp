#include <string>

#include "shell/Commands.h"
#include "users/Rights.h"

namespace fs5 {

namespace {

// The account's current user number when `name` is in the login's users table and its
// account still exists; -1 otherwise.
int16_t knownUserNumber(CommandContext& c, const std::string& name) {
  bool listed = false;
  for (const UserEntry& row : c.state.users()) {
    if (row.name == name) {
      listed = true;
      break;
    }
  }
  UserRecord record;
  if (!listed || findUserRecord(c.ds, name, record) != 0) return -1;
  return record.number;
}

void applyRights(CommandContext& c, const RightsChange& change) {
  PathName& target = c.state.workFolder();
  for (int k : change.rights) changeRights(c.ds, target, target.getDepth() - 1, k, change.grant);
}

}  // namespace

void runChown(CommandContext& c) {
  if (!requireSuperuser(c, "A user's ownership can be changed ONLY by the superuser.")) return;
  if (!requireArguments(c, 1)) return;
  std::string name = c.state.argument(0).getText();
  int16_t number = knownUserNumber(c, name);
  if (number < 0) {
    c.con.error("The username \"" + name + "\" not found.");
    c.con.waitForEnter();
    return;
  }
  PathName& work = c.state.workFolder();
  changeOwner(c.ds, work, work.getDepth() - 1, number);
  c.state.argument(0).clear();
  c.con.line();
  c.con.waitForEnter();
}

void runChmod(CommandContext& c) {
  if (!requireArguments(c, 2) || !resolveTarget(c, 1)) return;
  PathName& target = c.state.workFolder();
  std::string name = target.lastName();
  if (!mayChangeRights(c.ds, c.state.getCurrentUser(), target, target.getDepth() - 1)) {
    c.state.argument(0).clear();
    return refuse(c, "You can not change the object \"" + name + "\" rights.", 1);
  }
  RightsChange change;
  if (!parseRightsArgument(c.state.argument(0).getText(), change)) {
    c.con.line("Wrong rights argument.");
    c.state.restoreWorkFolder(1);
    return;
  }
  applyRights(c, change);
  c.con.line("The user rights for the folder or file \"" + name + "\" were successfully changed.");
  c.con.line();
  c.con.waitForEnter();
  c.state.argument(0).clear();
  c.state.restoreWorkFolder(1);
}

}  // namespace fs5
