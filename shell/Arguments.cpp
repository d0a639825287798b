#include "fsops/Lookup.h"
#include "shell/ShellState.h"
#include "storage/Inode.h"

namespace fs5 {

bool ShellState::resolveArgument(int n) {
  PathName& arg = args_[n];
  std::string text = arg.getText();
  savedFolder_.parse(con_, workFolder_.getText());
  bool formed = true;
  if (text.starts_with("/")) {
    formed = workFolder_.parse(con_, text) == 0;
  } else if (text.starts_with("../")) {
    workFolder_.goUp(con_);
    arg.dropFirst(con_);
    formed = workFolder_.appendPath(con_, arg.getText()) == 0;
  } else {
    arg.makeAbsolute();
    formed = workFolder_.appendPath(con_, arg.getText()) == 0;
  }
  arg.clear();
  return formed;
}

void ShellState::restoreWorkFolder(int n) {
  workFolder_.parse(con_, savedFolder_.getText());
  savedFolder_.clear();
  args_[n].clear();
}

void ShellState::saveWorkFolder() { savedFolder_.parse(con_, workFolder_.getText()); }

bool ShellState::targetExists(DiskStream& ds) {
  int16_t n = resolveWhole(ds, true, workFolder_);
  Inode node;
  if (n >= 0 && readObject(ds, n, workFolder_.lastName(), node)) return true;
  con_.waitForEnter();
  return false;
}

bool ShellState::targetIsFile(DiskStream& ds) {
  int16_t n = resolveWhole(ds, false, workFolder_);
  Inode node;
  return n >= 0 && node.read(ds, n) >= 0 && node.isFile();
}

}  // namespace fs5
