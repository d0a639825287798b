#include "fsops/List.h"

#include <algorithm>

#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

constexpr int LABEL_FIELD = 20;
constexpr int NAME_FIELD = 15;
constexpr int RIGHTS_FIELD = 7;
constexpr int OWNER_FIELD = 10;

constexpr const char* MARK_FOLDER = "\u251c";     // ├
constexpr const char* MARK_LAST_ONLY = "\u2514";  // └
constexpr const char* MARK_FILE = "\u255f";       // ╟
constexpr const char* MARK_LAST_FILE = "\u255a";  // ╚

struct Listed {
  int16_t inode = 0;
  std::string name;
  std::string rights;
  int16_t owner = 0;
};

// `item` right-aligned in a field of `width`: no blanks before it when it does not fit.
std::string alignRight(int width, const std::string& item) {
  int blanks = width - static_cast<int>(item.size());
  return std::string(blanks > 0 ? blanks : 0, ' ') + item;
}

// The entries of the folder, split by the type of the i-node that each one names; an entry
// whose record is neither a folder nor a file is left out. False at the first record that
// can not be read (after its line).
bool collect(DiskStream& ds, const Inode& folder, std::vector<Listed>& folders,
             std::vector<Listed>& files) {
  for (int b = 0; b < folder.getBlockCount(); ++b) {
    FolderBlock block;
    if (block.read(ds, folder.getBlock(b)) < 0) return false;
    for (int slot = 0; slot < block.getCount(); ++slot) {
      Inode named;
      if (named.read(ds, block.getEntryInode(slot)) < 0) return false;
      if (!named.isFolder() && !named.isFile()) continue;
      Listed item{block.getEntryInode(slot), block.getEntryName(slot), named.rightsText(),
                  named.getOwner()};
      (named.isFolder() ? folders : files).push_back(item);
    }
  }
  return true;
}

void sortByName(std::vector<Listed>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const Listed& a, const Listed& b) { return a.name < b.name; });
}

const std::string& ownerName(const std::vector<UserEntry>& owners, int16_t number) {
  static const std::string kNone;
  for (const UserEntry& row : owners)
    if (row.number == number) return row.name;
  return owners.empty() ? kNone : owners.front().name;
}

std::string longColumns(const std::vector<UserEntry>& owners, const Listed& item) {
  const std::string& owner = ownerName(owners, item.owner);
  int ownerField = OWNER_FIELD - static_cast<int>(owner.size());
  return alignRight(RIGHTS_FIELD, item.rights.substr(0, 1)) + item.rights.substr(1) +
         alignRight(ownerField, owner);
}

void printRows(DiskStream& ds, bool longForm, const std::vector<UserEntry>& owners,
               const std::vector<Listed>& items, const char* mark, const char* lastMark) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Listed& item = items[i];
    std::string row = std::string(" ") + (i + 1 == items.size() ? lastMark : mark) + " ";
    int numberField = NAME_FIELD - static_cast<int>(item.name.size());
    row += item.name + alignRight(numberField, std::to_string(item.inode));
    if (longForm) row += longColumns(owners, item);
    ds.console().line(row);
  }
}

}  // namespace

int16_t listFolder(DiskStream& ds, bool longForm, const std::vector<UserEntry>& owners,
                   const Handle& folder) {
  Console& con = ds.console();
  if (folder.result == LookupResult::UNUSABLE) return -1;
  if (!folder.isFolder()) {
    con.error("Nothing to print.");
    return -1;
  }
  std::vector<Listed> folders, files;
  if (!collect(ds, folder.node, folders, files)) return -1;
  const std::string& name = folder.name;
  std::string label = folder.isRoot() ? "/.." : name;
  con.line("The folder \"" + name + "\" content:");
  con.line();
  con.line(label + alignRight(LABEL_FIELD - static_cast<int>(label.size()), "i-node"));
  sortByName(folders);
  sortByName(files);
  printRows(ds, longForm, owners, folders, MARK_FOLDER,
            files.empty() ? MARK_LAST_ONLY : MARK_FOLDER);
  printRows(ds, longForm, owners, files, MARK_FILE, MARK_LAST_FILE);
  con.line();
  return 0;
}

}  // namespace fs5
