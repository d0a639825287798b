#include "users/UserAdmin.h"

#include <string>

#include "fsops/Create.h"
#include "fsops/Delete.h"
#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "storage/AllocMaps.h"
#include "storage/Inode.h"
#include "users/AccountStore.h"

namespace fs5 {

namespace {

// Names reach these helpers only after isValidUserName, so the paths can always be formed.
std::string homePath(std::string_view name) { return "/home/" + std::string(name); }

std::string inQuotes(std::string_view name) { return "\"" + std::string(name) + "\""; }

// The i-node that the path names, looked up quietly; -1 when nothing is there.
int16_t findQuietly(DiskStream& ds, const std::string& path) {
  PathName parsed;
  if (parsed.parse(ds.console(), path) < 0) return -1;
  return resolveWhole(ds, false, parsed);
}

bool isAccountFile(DiskStream& ds, std::string_view name) {
  int16_t n = findQuietly(ds, accountFilePath(name));
  Inode node;
  return n >= 0 && node.read(ds, n) >= 0 && node.isFile();
}

// The tests made before the password is asked; false after the refusal line.
bool acceptsNewAccount(DiskStream& ds, std::string_view name) {
  Console& con = ds.console();
  if (!isValidUserName(name)) {
    con.line("The user name " + inQuotes(name) + " is not valid.");
    return false;
  }
  if (!isAccountFile(ds, name) && findQuietly(ds, homePath(name)) >= 0) {
    con.line("The home folder " + inQuotes(name) + " already exists.");
    return false;
  }
  return true;
}

// Asks until a password of at most 30 characters is typed; false at the end of input.
bool askUserPassword(Console& con, std::string& password) {
  for (;;) {
    con.line();
    con.line("Enter the user password (max. " + std::to_string(MAX_PASSWORD) + " tokens):");
    if (!con.readPassword(password)) return false;
    if (password.size() <= MAX_PASSWORD) return true;
    con.line("Do not exceed the limit of " + std::to_string(MAX_PASSWORD) + " tokens.");
  }
}

// Gives back what an unfinished account creation made, unless commit() is called: the
// account file when one is held, and the user number.
class AccountGuard {
 public:
  AccountGuard(DiskStream& ds, int16_t number) : ds_(ds), number_(number) {}
  ~AccountGuard() {
    if (committed_) return;
    if (!accountFile_.empty()) deleteFile(ds_, false, accountFile_);
    freeUserNumber(ds_, number_);
  }
  AccountGuard(const AccountGuard&) = delete;
  AccountGuard& operator=(const AccountGuard&) = delete;
  void holdAccountFile(std::string path) { accountFile_ = std::move(path); }
  void commit() { committed_ = true; }

 private:
  DiskStream& ds_;
  int16_t number_;
  std::string accountFile_;
  bool committed_ = false;
};

// Writes the record and makes the home folder for the taken number. Returns what
// addUserRecord returned, kNotWritten also when the home folder was not made; everything made
// is given back unless the result is kWritten.
RecordWrite makeAccount(DiskStream& ds, std::string_view name, std::string_view password,
                        int16_t number) {
  AccountGuard guard(ds, number);
  bool existed = findQuietly(ds, accountFilePath(name)) >= 0;
  RecordWrite written = addUserRecord(ds, name, password, number);
  if (written == RecordWrite::kNotWritten && !existed && isAccountFile(ds, name))
    guard.holdAccountFile(accountFilePath(name));
  if (written != RecordWrite::kWritten) return written;
  guard.holdAccountFile(accountFilePath(name));
  if (createFolder(ds, false, number, homePath(name)) < 0) return RecordWrite::kNotWritten;
  guard.commit();
  return RecordWrite::kWritten;
}

// Gives every used i-node owned by `number` to the superuser; returns how many there were.
int giveToSuperuser(DiskStream& ds, int16_t number) {
  int given = 0;
  for (int n = 0; n < ds.layout().inodeCount(); ++n) {
    if (!isInodeUsed(ds, n)) continue;
    Inode node;
    if (node.read(ds, n) < 0 || node.getOwner() != number) continue;
    node.setOwner(SUPERUSER);
    node.write(ds);
    ++given;
  }
  return given;
}

}  // namespace

int16_t addUser(DiskStream& ds, std::string_view name) {
  Console& con = ds.console();
  if (!acceptsNewAccount(ds, name)) return -1;
  std::string password;
  if (!askUserPassword(con, password)) return -1;
  // The password was a wait: the image is checked again before anything is made.
  if (!acceptsNewAccount(ds, name)) return -1;
  int16_t number = allocUserNumber(ds);
  if (number < 0) return -1;
  RecordWrite made = makeAccount(ds, name, password, number);
  if (made == RecordWrite::kExists) {
    con.line("The user " + inQuotes(name) + " already exists.");
    return -1;
  }
  if (made == RecordWrite::kNotWritten) {
    con.line("The user account " + inQuotes(name) + " was not created.");
    return -1;
  }
  con.clearScreen();
  con.line("The user account " + inQuotes(name) + " was successfully created.");
  return 0;
}

int16_t deleteUser(DiskStream& ds, std::string_view name) {
  Console& con = ds.console();
  if (name == SUPERUSER_NAME) {
    con.line("The superuser \"root\" account can not be deleted.");
    return -1;
  }
  if (!isValidUserName(name) || !isAccountFile(ds, name)) {
    con.line("The user " + inQuotes(name) + " does not exist.");
    con.line("There is no user account to delete.");
    return -1;
  }
  UserRecord record;
  bool numbered = findUserRecord(ds, name, record) == 0 && record.number != SUPERUSER;
  bool complete = deleteFile(ds, false, accountFilePath(name)) == 0;
  complete = deleteFolderTree(ds, false, homePath(name)) == 0 && complete;
  if (numbered && giveToSuperuser(ds, record.number) > 0)
    con.line("The remaining folders and files of " + inQuotes(name) + " now belong to \"root\".");
  if (numbered) freeUserNumber(ds, record.number);  // once no account holds it
  if (!complete) {
    con.line("The user account " + inQuotes(name) + " was not deleted completely.");
    return -1;
  }
  con.line("The user account " + inQuotes(name) + " was successfully deleted.");
  return 0;
}

}  // namespace fs5
