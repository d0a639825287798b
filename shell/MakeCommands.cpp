#include <string>

#include "fsops/Create.h"
#include "fsops/Print.h"
#include "fsops/Write.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// A refusal line: the prefix, the target's last component, the suffix.
std::string refusalLine(const PathName& target, std::string_view prefix, std::string_view suffix) {
  return std::string(prefix) + target.lastName() + std::string(suffix);
}

void createFileBranch(CommandContext& c, const PathName& target) {
  if (!allows(c, CREATE_IN, target))
    return refuse(c, refusalLine(target, "You can not make the \"", "\" file."));
  createFile(c.ds, true, c.user, target.getText());
  finish(c);
}

// Looks the target of vi -i up and makes its checks; false when the branch has ended.
bool findFileToWrite(CommandContext& c, const PathName& target, Handle& found) {
  if (!findTarget(c, target, found)) return false;
  if (allows(c, WRITE_FILE, found)) return true;
  refuse(c, refusalLine(target, "You can not write in and save the \"", "\" file."));
  return false;
}

// The typing is a wait: only the path crosses it, and the file is looked up and checked
// again before it is erased and saved.
void writeFileBranch(CommandContext& c, const PathName& target) {
  Handle found;
  if (!findFileToWrite(c, target, found)) return;
  if (startWriting(c.ds, found)) {
    std::string typed;
    Typing typing = readTyping(c.con, typed);
    if (typing == Typing::ABANDONED) return finish(c);
    if (!findFileToWrite(c, target, found)) return;
    saveTyping(c.ds, found, typed, typing == Typing::ENDED);
  }
  finish(c);
}

}  // namespace

void runMkdir(CommandContext& c) {
  PathName target;
  if (!requireArguments(c, 1) || !resolveTarget(c, 0, target)) return;
  if (!allows(c, CREATE_IN, target))
    return refuse(c, refusalLine(target, "You can not make the \"", "\" folder."));
  createFolder(c.ds, true, c.user, target.getText());
  finish(c);
}

void runVi(CommandContext& c) {
  PathName target;
  if (!requireArguments(c, 1) || !resolveTarget(c, 0, target)) return;
  if (c.state.hasOption('i')) return writeFileBranch(c, target);
  createFileBranch(c, target);
}

void runCat(CommandContext& c) {
  PathName target;
  Handle found;
  if (!requireArguments(c, 1) || !resolveTarget(c, 0, target) || !findTarget(c, target, found))
    return;
  if (!allows(c, PRINT_FILE, found))
    return refuse(c, refusalLine(target, "You can not view the contents of the \"", "\" file."));
  printFile(c.ds, found);
  finish(c);
}

}  // namespace fs5
