#include "users/Format.h"

#include <string>

#include "fsops/Create.h"
#include "fsops/Delete.h"
#include "fsops/Lookup.h"
#include "storage/AllocMaps.h"
#include "storage/FormatImage.h"
#include "users/AccountStore.h"

namespace fs5 {

namespace {

constexpr const char* kStandardFolders[] = {
    "/bin", "/boot", "/dev",  "/etc",  "/home", "/initrd", "/lib", "/lost+found", "/misc",
    "/mnt", "/opt",  "/proc", "/root", "/sbin", "/tmp",    "/usr", "/var",        ACCOUNT_FOLDER};

constexpr int MIN_SUPERUSER_PASSWORD = 6;

// Asks until a password of 6 to 30 characters is typed; false at the end of input.
bool askSuperuserPassword(Console& con, std::string& password) {
  for (;;) {
    con.line();
    con.line("Enter the superuser password (min. 6 tokens, max. " + std::to_string(MAX_PASSWORD) +
             " tokens):");
    if (!con.readPassword(password)) return false;
    if (password.size() > MAX_PASSWORD) {
      con.line("Do not exceed the limit of " + std::to_string(MAX_PASSWORD) + " tokens.");
    } else if (password.size() < MIN_SUPERUSER_PASSWORD) {
      con.line("Do not undergo the minimum of 6 tokens.");
    } else {
      return true;
    }
  }
}

void sayRootCreated(Console& con) {
  con.line();
  con.line("The superuser account \"root\" was successfully created.");
}

// "The superuser account was not created.", the program's last words.
void endWithoutSuperuser(Console& con) {
  con.error("The superuser account was not created.");
  con.close();
}

bool pathExists(DiskStream& ds, const std::string& text) {
  PathName path;
  return path.parse(ds.console(), text) == 0 && resolveWhole(ds, false, path) >= 0;
}

// Writes the superuser's account anew: what is missing of /etc/passwd, then the account file
// (the unusable one deleted first), and user number 0 marked used.
void writeSuperuser(DiskStream& ds, const std::string& password) {
  for (const char* folder : {"/etc", ACCOUNT_FOLDER})
    if (!pathExists(ds, folder)) createFolder(ds, true, SUPERUSER, folder);
  std::string account = accountFilePath(SUPERUSER_NAME);
  if (pathExists(ds, account)) deleteFile(ds, false, account);
  addUserRecord(ds, SUPERUSER_NAME, password, SUPERUSER);
  markUserNumberUsed(ds, SUPERUSER);
}

}  // namespace

bool isSuperuserUsable(DiskStream& ds) {
  UserRecord record;
  return findUserRecord(ds, SUPERUSER_NAME, record) == 0 && record.number == SUPERUSER &&
         !record.password.empty();
}

int16_t mendSuperuser(DiskStream& ds) {
  if (isSuperuserUsable(ds)) return 0;
  Console& con = ds.console();
  con.line("The superuser account is missing or damaged. A new superuser password will be set.");
  std::string password;
  if (!askSuperuserPassword(con, password)) {
    endWithoutSuperuser(con);
    return -1;
  }
  // The image was given back while the password was typed: another console may have mended
  // it meanwhile.
  if (isSuperuserUsable(ds)) return 0;
  writeSuperuser(ds, password);
  if (ds.failed()) return -1;
  if (!isSuperuserUsable(ds)) {
    endWithoutSuperuser(con);
    return -1;
  }
  sayRootCreated(con);
  con.line();
  return 1;
}

int16_t formatDisk(DiskStream& ds, int inodes, int blocks, int users) {
  if (formatImage(ds, inodes, blocks, users) < 0) return -1;
  for (const char* folder : kStandardFolders) createFolder(ds, true, SUPERUSER, folder);
  Console& con = ds.console();
  std::string password;
  if (!askSuperuserPassword(con, password)) {
    endWithoutSuperuser(con);
    ds.resize(0);  // an image nobody can log in to is left empty: the next start formats it
    return -1;
  }
  markUserNumberUsed(ds, SUPERUSER);
  addUserRecord(ds, SUPERUSER_NAME, password, SUPERUSER);
  sayRootCreated(con);
  con.print("The disk was formatted.\n\n");
  return ds.failed() ? -1 : 0;
}

}  // namespace fs5
