#include <string>

#include "fsops/Copy.h"
#include "fsops/Lookup.h"
#include "shell/Commands.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// True when the path in the working-folder field names an existing folder.
bool destinationIsFolder(CommandContext& c) {
  int16_t n = resolveWhole(c.ds, false, c.state.workFolder());
  Inode node;
  return n >= 0 && node.read(c.ds, n) >= 0 && node.isFolder();
}

bool destinationAllowsWriting(CommandContext& c) {
  return destinationIsFolder(c) ? objectAllows(c, RIGHT_WRITE) : holderAllows(c, RIGHT_WRITE);
}

}  // namespace

bool resolveSourceAndDestination(CommandContext& c, PathName& source, bool takesFromSource,
                                 std::string_view refusalPrefix, std::string_view refusalSuffix) {
  if (!requireArguments(c, 2) || !resolveTarget(c, 0)) return false;
  source.parse(c.con, c.state.workFolder().getText());
  c.state.restoreWorkFolder(0);
  if (!resolveTarget(c, 1)) return false;
  int sourceHolder = source.getDepth() - 2;
  bool granted =
      c.state.checkAccess(c.ds, source, sourceHolder, RIGHT_READ) &&
      (!takesFromSource || c.state.checkAccess(c.ds, source, sourceHolder, RIGHT_WRITE)) &&
      destinationAllowsWriting(c);
  if (granted) return true;
  refuse(c, std::string(refusalPrefix) + source.lastName() + std::string(refusalSuffix), 1);
  return false;
}

void runCp(CommandContext& c) {
  bool tree = c.state.hasOption('R');
  PathName source;
  if (!resolveSourceAndDestination(c, source, false, "You can not copy the \"",
                                   tree ? "\" folder." : "\" file."))
    return;
  std::string destination = c.state.workFolder().getText();
  if (tree) {
    copyFolderTree(c.ds, true, source.getText(), destination);
  } else {
    copyFile(c.ds, true, source.getText(), destination);
  }
  finish(c, 1);
}

}  // namespace fs5
