// ls, cat, mkdir, rm and stat on image paths.
#include <algorithm>
#include <string>

#include "tools/fs5/ImageOps.h"
#include "tools/fs5/Session.h"
#include "users/AccountStore.h"
#include "users/CommandRights.h"

namespace fs5 {

namespace {

constexpr const char* kDenied = "access denied.";

// The object of `arg` when it is a folder (wantFolder) or a file; false after the failure line.
bool findOfKind(Session& s, const std::string& arg, bool wantFolder, Handle& found) {
  if (!s.findObject(arg, found)) return false;
  if (found.node.isFolder() == wantFolder) return true;
  s.fail(arg, wantFolder ? "is a file, not a folder." : "is a folder, not a file.");
  return false;
}

void listOne(Session& s, const std::string& arg) {
  Handle folder;
  if (!findOfKind(s, arg, true, folder)) return;
  if (!mayAct(s.ds(), s.user(), LIST_FOLDER, folder)) return s.fail(arg, kDenied);
  std::vector<UserEntry> owners = readUsersTable(s.ds());
  s.clearMessages();
  if (listImageFolder(s.ds(), s.options().has('l'), owners, folder) < 0)
    return s.failWithReason(arg, "the folder can not be listed.");
  s.out() << s.takeOutput();
}

void printOne(Session& s, const std::string& arg) {
  Handle file;
  if (!findOfKind(s, arg, false, file)) return;
  if (!mayAct(s.ds(), s.user(), PRINT_FILE, file)) return s.fail(arg, kDenied);
  std::string bytes;
  if (loadFileBytes(s.ds(), file.node, bytes) < 0)
    return s.failWithReason(arg, "the file can not be read.");
  s.out() << bytes;
}

void makeOne(Session& s, const std::string& arg) {
  PathName path;
  if (!s.parseImagePath(arg, arg, path)) return;
  if (path.isRoot()) return s.fail(arg, "the root folder exists.");
  std::string refusal = nameRefusal(path.lastName());
  if (!refusal.empty()) return s.fail(arg, refusal);
  if (!mayAct(s.ds(), s.user(), CREATE_IN, path)) return s.fail(arg, kDenied);
  s.clearMessages();
  if (makeImageFolder(s.ds(), s.user(), path.getText()) < 0)
    s.failWithReason(arg, "the folder was not made.");
}

void removeOne(Session& s, const std::string& arg) {
  Handle found;
  if (!s.findObject(arg, found)) return;
  if (found.isRoot()) return s.fail(arg, "the root folder can not be deleted.");
  if (!mayAct(s.ds(), s.user(), DELETE_FROM, found)) return s.fail(arg, kDenied);
  bool folder = found.node.isFolder();
  if (folder && !s.options().has('R'))
    return s.fail(arg, "is a folder; -R deletes a folder with all its content.");
  s.clearMessages();
  int16_t done = folder ? deleteImageTree(s.ds(), found) : deleteImageFile(s.ds(), found);
  if (done < 0) s.failWithReason(arg, "it was not deleted.");
}

std::string ownerText(const std::vector<UserEntry>& accounts, int16_t owner) {
  auto it = std::find_if(accounts.begin(), accounts.end(),
                         [owner](const UserEntry& row) { return row.number == owner; });
  std::string name = it == accounts.end() ? "?" : it->name;
  return name + " (" + std::to_string(owner) + ")";
}

void statOne(Session& s, const std::string& arg) {
  Handle found;
  if (!s.findObject(arg, found)) return;
  const Inode& node = found.node;
  std::string rights = node.rightsText();
  rights.erase(std::remove(rights.begin(), rights.end(), ' '), rights.end());
  std::string blocks;
  for (int b = 0; b < node.getBlockCount(); ++b)
    blocks += (b == 0 ? "" : " ") + std::to_string(node.getBlock(b));
  std::ostream& out = s.out();
  out << arg << "\n"
      << "  i-node      " << found.number << "\n"
      << "  kind        " << kindWord(node.isFolder()) << "\n"
      << "  owner       " << ownerText(readUsersTable(s.ds()), node.getOwner()) << "\n"
      << "  rights      " << rights << "\n"
      << "  blocks      " << node.getBlockCount() << "\n"
      << "  datablocks  " << blocks << "\n";
  if (node.isFolder()) {
    out << "  entries     " << countFolderEntries(s.ds(), found.number) << "\n";
    return;
  }
  std::string bytes;
  s.clearMessages();
  if (loadFileBytes(s.ds(), node, bytes) < 0)
    return s.failWithReason(arg, "the file can not be read.");
  out << "  length      " << bytes.size() << " bytes\n";
}

// Runs `each` on every argument (the image's lock taken around each one when the command only
// reads, and for the whole command when it writes), or on `whenNone` when there is none.
template <typename Each>
int forEachPath(Session& s, bool writes, Each each, const char* whenNone = nullptr) {
  if (!s.open(writes)) return s.status();
  std::vector<std::string> args = s.options().operands;
  if (args.empty() && whenNone != nullptr) args.push_back(whenNone);
  for (const std::string& arg : args) {
    s.beginReading();
    each(s, arg);
    s.endReading();
  }
  s.endWriting();
  return s.status();
}

}  // namespace

int runList(Session& s) { return forEachPath(s, false, listOne, "::/"); }
int runPrint(Session& s) { return forEachPath(s, false, printOne); }
int runMakeFolders(Session& s) { return forEachPath(s, true, makeOne); }
int runRemove(Session& s) { return forEachPath(s, true, removeOne); }
int runStat(Session& s) { return forEachPath(s, false, statOne); }

}  // namespace fs5
