#include <string>

#include "fsops/List.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// The name of the folder that holds `path` ("/" when that is the root).
std::string parentName(const PathName& path) {
  return path.getDepth() >= 2 ? path.component(path.getDepth() - 2) : "/";
}

bool argumentIs(CommandContext& c, std::string_view text) {
  return c.state.argument(0).getText() == text;
}

std::string cdRefusal(const std::string& name) {
  return "You can not move to \"" + name + "\" folder.";
}

std::string lsRefusal(const std::string& name) {
  return "You can not print the contents of the \"" + name + "\" folder.";
}

void cdHome(CommandContext& c) {
  PathName& home = c.state.homeFolder();
  if (!allows(c, ENTER_FOLDER, home)) {
    c.con.line(cdRefusal(home.lastName()));
    return;
  }
  c.state.workFolder() = home;
}

void cdUp(CommandContext& c) {
  PathName& work = c.state.workFolder();
  if (work.isRoot()) {
    work.goUp(c.con);
    return;
  }
  PathName up = work;
  up.goUp(c.con);
  if (!allows(c, ENTER_FOLDER, up)) {
    c.con.line(cdRefusal(parentName(work)));
    return;
  }
  work = up;
}

void cdTarget(CommandContext& c) {
  PathName target;
  Handle found;
  if (!resolveTarget(c, 0, target) || !findTarget(c, target, found)) return;
  if (found.node.isFile()) {
    c.con.line("\"" + found.name + "\" is a file, not a folder. You can not move into it.");
    c.con.waitForEnter();
    return;
  }
  if (!allows(c, ENTER_FOLDER, found)) {
    c.con.line(cdRefusal(found.name));
    return;
  }
  c.state.workFolder() = target;
}

void listFound(CommandContext& c, const Handle& folder) {
  listFolder(c.ds, c.state.hasOption('l'), c.state.users(), folder);
}

void lsHere(CommandContext& c) {
  PathName& work = c.state.workFolder();
  if (allows(c, LIST_FOLDER, work)) {
    listFound(c, lookup(c.ds, true, work));
  } else {
    c.con.line(lsRefusal(work.lastName()));
  }
  finish(c);
}

void lsUp(CommandContext& c) {
  PathName up = c.state.workFolder();
  up.goUp(c.con);
  if (!allows(c, LIST_FOLDER, up)) return refuse(c, lsRefusal(up.lastName()));
  listFound(c, lookup(c.ds, true, up));
  finish(c);
}

void lsTarget(CommandContext& c) {
  PathName target;
  Handle found;
  if (!resolveTarget(c, 0, target) || !findTarget(c, target, found)) return;
  if (found.node.isFile()) {
    c.con.line("\"" + found.name +
               "\" is a file, not a folder. You can not see its content with this command.");
    c.con.line("Use \"cat\" command to see a file's content.");
    c.con.waitForEnter();
    return;
  }
  if (!allows(c, LIST_FOLDER, found)) return refuse(c, lsRefusal(found.name));
  listFound(c, found);
  finish(c);
}

}  // namespace

void runCd(CommandContext& c) {
  if (!c.state.hasArgument(0)) return cdHome(c);
  if (argumentIs(c, ".")) return;
  if (argumentIs(c, "..")) return cdUp(c);
  cdTarget(c);
}

void runLs(CommandContext& c) {
  if (!c.state.hasArgument(0) || argumentIs(c, ".")) return lsHere(c);
  if (argumentIs(c, "..")) return lsUp(c);
  lsTarget(c);
}

}  // namespace fs5
