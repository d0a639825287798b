#include "shell/ShellState.h"

namespace fs5 {

bool ShellState::resolveArgument(int n, PathName& target) const {
  PathName argument = args_[n];
  std::string text = argument.getText();
  target = workFolder_;
  if (text.starts_with("/")) return target.parse(con_, text) == 0;
  if (text.starts_with("../")) {
    target.goUp(con_);
    argument.dropFirst(con_);
  } else {
    argument.makeAbsolute();
  }
  return target.appendPath(con_, argument.getText()) == 0;
}

}  // namespace fs5
