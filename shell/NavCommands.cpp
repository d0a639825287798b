#include <string>
#include <vector>

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
  if (!c.state.checkAccess(c.ds, home, home.getDepth() - 1, RIGHT_EXECUTE)) {
    c.con.line(cdRefusal(home.lastName()));
    return;
  }
  c.state.workFolder().clear();
  c.state.workFolder().parse(c.con, home.getText());
}

void cdUp(CommandContext& c) {
  PathName& work = c.state.workFolder();
  if (work.isRoot()) {
    work.goUp(c.con);
    return;
  }
  if (!holderAllows(c, RIGHT_EXECUTE)) {
    c.con.line(cdRefusal(parentName(work)));
    return;
  }
  work.goUp(c.con);
  c.state.argument(0).clear();
}

void cdTarget(CommandContext& c) {
  if (!resolveTarget(c, 0)) return;
  if (!c.state.targetExists(c.ds)) return missing(c, 0);
  std::string name = c.state.workFolder().lastName();
  if (c.state.targetIsFile(c.ds)) {
    c.con.line("\"" + name + "\" is a file, not a folder. You can not move into it.");
    c.con.waitForEnter();
    c.state.restoreWorkFolder(0);
    return;
  }
  if (!objectAllows(c, RIGHT_EXECUTE)) {
    c.con.line(cdRefusal(name));
    c.state.restoreWorkFolder(0);
    return;
  }
  c.state.savedFolder().clear();
  c.state.argument(0).clear();
}

// The login's users table in the listing's terms.
std::vector<OwnerName> ownerNames(const ShellState& state) {
  std::vector<OwnerName> owners;
  for (const UserEntry& row : state.users()) owners.push_back({row.number, row.name});
  return owners;
}

void listWorkFolder(CommandContext& c) {
  listFolder(c.ds, c.state.hasOption('l'), ownerNames(c.state), c.state.workFolder().getText());
}

void lsHere(CommandContext& c) {
  if (objectAllows(c, RIGHT_READ)) {
    listWorkFolder(c);
  } else {
    c.con.line(lsRefusal(c.state.workFolder().lastName()));
  }
  c.con.line();
  c.con.waitForEnter();
}

void lsUp(CommandContext& c) {
  c.state.saveWorkFolder();
  c.state.workFolder().goUp(c.con);
  if (!objectAllows(c, RIGHT_READ)) return refuse(c, lsRefusal(c.state.workFolder().lastName()), 0);
  listWorkFolder(c);
  finish(c, 0);
}

void lsTarget(CommandContext& c) {
  if (!resolveTarget(c, 0)) return;
  if (!c.state.targetExists(c.ds)) return missing(c, 0);
  std::string name = c.state.workFolder().lastName();
  if (c.state.targetIsFile(c.ds)) {
    c.con.line("\"" + name +
               "\" is a file, not a folder. You can not see its content with this command.");
    c.con.line("Use \"cat\" command to see a file's content.");
    c.con.waitForEnter();
    c.state.restoreWorkFolder(0);
    return;
  }
  if (!objectAllows(c, RIGHT_READ)) return refuse(c, lsRefusal(name), 0);
  listWorkFolder(c);
  finish(c, 0);
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
