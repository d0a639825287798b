#include <string>

#include "fsops/Copy.h"
#include "shell/Commands.h"

namespace fs5 {

bool resolveSourceAndDestination(CommandContext& c, bool takesFromSource,
                                 std::string_view refusalPrefix, std::string_view refusalSuffix,
                                 Handle& source, Handle& destination) {
  PathName from, to;
  if (!requireArguments(c, 2) || !resolveTarget(c, 0, from) || !resolveTarget(c, 1, to))
    return false;
  destination = lookup(c.ds, false, to);
  bool granted =
      mayTakeFrom(c.ds, c.user, from, takesFromSource) && mayWriteTo(c.ds, c.user, destination);
  if (!accessGranted(c, granted)) {
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
