#include "shell/Commands.h"
#include "storage/Layout.h"
#include "users/Format.h"

namespace fs5 {

void runExit(CommandContext& c) { c.state.requestExit(0); }

void runReenter(CommandContext& c) {
  c.state.clearPaths();
  c.con.forgetHistory();
  c.state.requestReenter();
}

void runMkfs(CommandContext& c) {
  if (!requireSuperuser(c, "A disk can be formatted ONLY by the superuser.")) return;
  if (!c.con.confirm("Do you really want to format the disk?",
                     "(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)"))
    return;
  if (formatDisk(c.ds, STANDARD_INODES, STANDARD_BLOCKS, STANDARD_USERS) < 0) {
    c.state.requestExit(1);
    return;
  }
  c.con.line();
  c.con.waitForEnter();
}

}  // namespace fs5
