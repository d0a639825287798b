// ls, cat, mkdir, rm and stat on image paths.
#include <algorithm>
#include <string>

#include "tools/fs5/ImageOps.h"
#include "tools/fs5/Session.h"
#include "users/CommandRights.h"

namespace fs5 {

namespace {

constexpr const char* kDenied = "access denied.";

// The object of `arg` when it is a folder (wantFolder) or a file; -1 after the failure line.
int16_t findOfKind(Session& s, const std::string& arg, bool wantFolder, PathName& path,
                   Inode& node) {
  int16_t n = s.findObject(arg, path, node);
  if (n < 0 || node.isFolder() == wantFolder) return n;
  s.fail(arg, wantFolder ? "is a file, not a folder." : "is a folder, not a file.");
  return -1;
}

void listOne(Session& s, const std::string& arg) {
  PathName path;
  Inode node;
  if (findOfKind(s, arg, true, path, node) < 0) return;
  if (!mayListFolder(s.ds(), s.user(), path)) return s.fail(arg, kDenied);
  s.clearMessages();
  if (listImageFolder(s.ds(), s.options().has('l'), path.getText()) < 0)
    return s.failWithReason(arg, "the folder can not be listed.");
  s.out() << s.takeOutput();
}

void printOne(Session& s, const std::string& arg) {
  PathName path;
  Inode node;
  if (findOfKind(s, arg, false, path, node) < 0) return;
  if (!mayPrintFile(s.ds(), s.user(), path)) return s.fail(arg, kDenied);
  std::string bytes;
  if (loadFileBytes(s.ds(), node, bytes) < 0)
    return s.failWithReason(arg, "the file can not be read.");
  s.out() << bytes;
}

void makeOne(Session& s, const std::string& arg) {
  PathName path;
  if (!s.parseImagePath(arg, arg, path)) return;
  if (path.isRoot()) return s.fail(arg, "the root folder exists.");
  std::string refusal = nameRefusal(path.lastName());
  if (!refusal.empty()) return s.fail(arg, refusal);
  if (!mayCreateIn(s.ds(), s.user(), path)) return s.fail(arg, kDenied);
  s.clearMessages();
  if (makeImageFolder(s.ds(), s.user(), path.getText()) < 0)
    s.failWithReason(arg, "the folder was not made.");
}

void removeOne(Session& s, const std::string& arg) {
  PathName path;
  Inode node;
  if (s.findObject(arg, path, node) < 0) return;
  if (path.isRoot()) return s.fail(arg, "the root folder can not be deleted.");
  if (!mayDelete(s.ds(), s.user(), path)) return s.fail(arg, kDenied);
  if (node.isFolder() && !s.options().has('R'))
    return s.fail(arg, "is a folder; -R deletes a folder with all its content.");
  s.clearMessages();
  int16_t done = node.isFolder() ? deleteImageTree(s.ds(), path.getText())
                                 : deleteImageFile(s.ds(), path.getText());
  if (done < 0) s.failWithReason(arg, "it was not deleted.");
}

std::string ownerText(const std::vector<UserEntry>& accounts, int16_t owner) {
  auto it = std::find_if(accounts.begin(), accounts.end(),
                         [owner](const UserEntry& row) { return row.number == owner; });
  std::string name = it == accounts.end() ? "?" : it->name;
  return name + " (" + std::to_string(owner) + ")";
}

void statOne(Session& s, const std::string& arg) {
  PathName path;
  Inode node;
  int16_t n = s.findObject(arg, path, node);
  if (n < 0) return;
  std::string rights = node.rightsText();
  rights.erase(std::remove(rights.begin(), rights.end(), ' '), rights.end());
  std::string blocks;
  for (int b = 0; b < node.getBlockCount(); ++b)
    blocks += (b == 0 ? "" : " ") + std::to_string(node.getBlock(b));
  std::ostream& out = s.out();
  out << arg << "\n"
      << "  i-node      " << n << "\n"
      << "  kind        " << kindWord(node.isFolder()) << "\n"
      << "  owner       " << ownerText(readAccounts(s.ds()), node.getOwner()) << "\n"
      << "  rights      " << rights << "\n"
      << "  blocks      " << node.getBlockCount() << "\n"
      << "  datablocks  " << blocks << "\n";
  if (node.isFolder()) {
    out << "  entries     " << countFolderEntries(s.ds(), n) << "\n";
    return;
  }
  std::string bytes;
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
