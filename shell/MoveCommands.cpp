#include "fsops/Move.h"
#include "shell/Commands.h"

namespace fs5 {

void runMv(CommandContext& c) {
  Handle source, destination;
  if (!resolveSourceAndDestination(c, true, "You can not move (and rename) the \"", "\" file.",
                                   source, destination))
    return;
  moveFile(c.ds, source, destination);
  finish(c);
}

}  // namespace fs5
