#include <string>

#include "fsops/Copy.h"
#include "shell/Commands.h"
#include "storage/Inode.h"
#include "users/Rights.h"

namespace fs5 {

namespace {

// The write right on the destination: on the folder itself when it is one, else on the
// folder that would hold it.
bool destinationAllowsWriting(CommandContext& c, const Handle& destination) {
  const PathName& path = destination.path;
  return destination.isFolder() ? objectAllows(c, path, RIGHT_WRITE)
                                : holderAllows(c, path, RIGHT_WRITE);
}

}  // namespace

bool resolveSourceAndDestination(CommandContext& c, bool takesFromSource,
                                 std::string_view refusalPrefix, std::string_view refusalSuffix,
                                 Handle& source, Handle& destination) {
  PathName from, to;
  if (!requireArguments(c, 2) || !resolveTarget(c, 0, from) || !resolveTarget(c, 1, to))
    return false;
  destination = lookup(c.ds, false, to);
  int sourceHolder = from.getDepth() - 2;
  bool granted = checkAccess(c.ds, c.user, from, sourceHolder, RIGHT_READ) &&
                 (!takesFromSource || checkAccess(c.ds, c.user, from, sourceHolder, RIGHT_WRITE)) &&
                 destinationAllowsWriting(c, destination);
  if (!granted) {
    refuse(c, std::string(refusalPrefix) + from.lastName() + std::string(refusalSuffix));
    return false;
  }
  source = lookup(c.ds, true, from);
  return true;
}

void runCp(CommandContext& c) {
  bool tree = c.state.hasOption('R');
  Handle source, destination;
  if (!resolveSourceAndDestination(c, false, "You can not copy the \"",
                                   tree ? "\" folder." : "\" file.", source, destination))
    return;
  if (tree) {
    copyFolderTree(c.ds, true, source, destination);
  } else {
    copyFile(c.ds, true, source, destination);
  }
  finish(c);
}

}  // namespace fs5
