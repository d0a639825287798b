#include <string>

#include "shell/Commands.h"
#include "users/UserAdmin.h"

namespace fs5 {

namespace {

// Runs the account operation on the first argument's text as typed, then ends with an
// empty line and the wait; nothing is resolved.
void runOnAccount(CommandContext& c, int16_t (*operation)(DiskStream&, std::string_view)) {
  std::string name = c.state.argument(0).getText();
  operation(c.ds, name);
  finish(c);
}

}  // namespace

void runAdduser(CommandContext& c) {
  if (!requireSuperuser(c, "A user account can be added ONLY by the superuser.")) return;
  if (!requireArguments(c, 1)) return;
  runOnAccount(c, addUser);
}

void runDeluser(CommandContext& c) {
  if (!requireSuperuser(c, "A user account can be deleted ONLY by the superuser.")) return;
  if (!requireArguments(c, 1)) return;
  runOnAccount(c, deleteUser);
}

}  // namespace fs5
