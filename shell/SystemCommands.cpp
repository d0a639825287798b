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
  c.con.line("Do you really want to format the disk?");
  c.con.line("(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)");
  int answer = c.con.readKey();
  if (answer == KEY_ESCAPE || answer == END_OF_INPUT) return;
  if (formatDisk(c.ds, STANDARD_INODES, STANDARD_BLOCKS, STANDARD_USERS) < 0) {
    c.state.requestExit(1);
    return;
  }
  c.con.line();
  c.con.waitForEnter();
}

}  // namespace fs5
