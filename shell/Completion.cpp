#include "shell/Completion.h"

#include "fsops/Lookup.h"
#include "shell/Commands.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "storage/Layout.h"
#include "users/Rights.h"

namespace fs5 {

namespace {

// The folder that `typed` (a path up to its last "/", or empty) names, as the commands would
// resolve it; false when the path is too long or too deep to be formed.
bool typedFolder(ShellState& state, std::string_view typed, PathName& folder) {
  std::string text(typed);
  if (!typed.starts_with("/")) {
    std::string work = state.workFolder().getText();
    text.insert(0, work.ends_with("/") ? work : work + "/");
  }
  if (text.size() > 1 && text.ends_with("/")) text.pop_back();
  if (text.size() > MAX_PATH_TEXT || splitPath(text).size() > MAX_DEPTH) return false;
  return folder.parse(state.console(), text) == 0;
}

// The entries of the folder i-node `n` whose names begin with `stem`.
std::vector<std::string> entriesStarting(DiskStream& ds, int16_t n, std::string_view stem) {
  std::vector<std::string> names;
  Inode folder;
  if (n < 0 || folder.read(ds, n) < 0 || !folder.isFolder()) return names;
  for (int b = 0; b < folder.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, folder.getBlock(b)) < 0) break;
    for (int slot = 0; slot < block.getCount(); ++slot) {
      std::string name = block.getEntryName(slot);
      Inode entry;
      if (name == "." || name == ".." || !name.starts_with(stem)) continue;
      bool isFolder = entry.read(ds, block.getEntryInode(slot)) >= 0 && entry.isFolder();
      names.push_back(isFolder ? name + "/" : name);
    }
  }
  return names;
}

}  // namespace

std::vector<std::string> completionCandidates(ShellState& state, DiskStream& ds,
                                              std::string_view before) {
  std::size_t blank = before.rfind(' ');
  std::vector<std::string> names;
  if (blank == std::string_view::npos) {
    for (std::string_view word : commandWords())
      if (word.starts_with(before)) names.emplace_back(word);
    return names;
  }
  std::string_view word = before.substr(blank + 1);
  std::size_t slash = word.rfind('/');
  std::string_view typed = slash == std::string_view::npos ? "" : word.substr(0, slash + 1);
  PathName folder;
  if (!typedFolder(state, typed, folder)) return names;
  if (!hasAccess(ds, state.getCurrentUser(), folder, folder.getDepth() - 1, RIGHT_READ))
    return names;
  return entriesStarting(ds, resolveWhole(ds, false, folder), word.substr(typed.size()));
}

}  // namespace fs5
