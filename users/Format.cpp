#include "users/Format.h"

#include <string>

#include "fsops/Create.h"
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

}  // namespace

int16_t formatDisk(DiskStream& ds, int inodes, int blocks, int users) {
  if (formatImage(ds, inodes, blocks, users) < 0) return -1;
  for (const char* folder : kStandardFolders) createFolder(ds, true, SUPERUSER, folder);
  Console& con = ds.console();
  std::string password;
  if (!askSuperuserPassword(con, password)) {
    con.error("The superuser account was not created.");
    con.close();
    return -1;
  }
  markUserNumberUsed(ds, SUPERUSER);
  addUserRecord(ds, SUPERUSER_NAME, password, SUPERUSER);
  con.line();
  con.line("The superuser account \"root\" was successfully created.");
  con.print("The disk was formatted.\n\n");
  return ds.failed() ? -1 : 0;
}

}  // namespace fs5
