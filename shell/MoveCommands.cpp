#include <string>

#include "fsops/Move.h"
#include "shell/Commands.h"

namespace fs5 {

void runMv(CommandContext& c) {
  PathName source;
  if (!resolveSourceAndDestination(c, source, true, "You can not move (and rename) the \"",
                                   "\" file."))
    return;
  std::string destination = c.state.workFolder().getText();
  moveFile(c.ds, source.getText(), destination);
  finish(c, 1);
}

}  // namespace fs5
