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

void applyRights(CommandContext& c, const PathName& target, const RightsChange& change) {
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
  finish(c);
}

void runChmod(CommandContext& c) {
  PathName target;
  if (!requireArguments(c, 2) || !resolveTarget(c, 1, target)) return;
  std::string name = target.lastName();
  if (!mayChangeRights(c.ds, c.user, target, target.getDepth() - 1))
    return refuse(c, "You can not change the object \"" + name + "\" rights.");
  RightsChange change;
  if (!parseRightsArgument(c.state.argument(0).getText(), change)) {
    c.con.line("Wrong rights argument.");
    return;
  }
  applyRights(c, target, change);
  c.con.line("The user rights for the folder or file \"" + name + "\" were successfully changed.");
  finish(c);
}

}  // namespace fs5
