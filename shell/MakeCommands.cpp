#include <string>

#include "fsops/Create.h"
#include "fsops/Print.h"
#include "fsops/Write.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

std::string targetText(CommandContext& c) { return c.state.workFolder().getText(); }

std::string quoted(CommandContext& c, std::string_view prefix, std::string_view suffix) {
  return std::string(prefix) + c.state.workFolder().lastName() + std::string(suffix);
}

void createFileBranch(CommandContext& c) {
  if (!holderAllows(c, RIGHT_WRITE))
    return refuse(c, quoted(c, "You can not make the \"", "\" file."), 0);
  createFile(c.ds, true, c.user, targetText(c));
  finish(c, 0);
}

void writeFileBranch(CommandContext& c) {
  if (!c.state.targetExists(c.ds)) return missing(c, 0);
  if (!objectAllows(c, RIGHT_WRITE))
    return refuse(c, quoted(c, "You can not write in and save the \"", "\" file."), 0);
  writeFile(c.ds, targetText(c));
  finish(c, 0);
}

}  // namespace

void runMkdir(CommandContext& c) {
  if (!requireArguments(c, 1) || !resolveTarget(c, 0)) return;
  if (!holderAllows(c, RIGHT_WRITE))
    return refuse(c, quoted(c, "You can not make the \"", "\" folder."), 0);
  createFolder(c.ds, true, c.user, targetText(c));
  finish(c, 0);
}

void runVi(CommandContext& c) {
  if (!requireArguments(c, 1) || !resolveTarget(c, 0)) return;
  if (c.state.hasOption('i')) return writeFileBranch(c);
  createFileBranch(c);
}

void runCat(CommandContext& c) {
  if (!requireArguments(c, 1) || !resolveTarget(c, 0)) return;
  if (!c.state.targetExists(c.ds)) return missing(c, 0);
  if (!objectAllows(c, RIGHT_READ))
    return refuse(c, quoted(c, "You can not view the contents of the \"", "\" file."), 0);
  printFile(c.ds, targetText(c));
  finish(c, 0);
}

}  // namespace fs5
