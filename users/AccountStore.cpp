#include "users/AccountStore.h"

#include <algorithm>
#include <cctype>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

PathName accountPathName(Console& con, std::string_view name) {
  PathName path;
  path.parse(con, ACCOUNT_FOLDER);
  path.append(con, name);
  return path;
}

}  // namespace

bool isValidUserName(std::string_view name) {
  if (name.empty() || name.size() > MAX_NAME) return false;
  if (name == "." || name == ".." || name == "exit") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || std::isspace(static_cast<unsigned char>(c)) != 0;
  });
}

RecordWrite addUserRecord(DiskStream& ds, std::string_view name, std::string_view password,
                          int16_t number) {
  Console& con = ds.console();
  if (!isValidUserName(name) || password.size() > MAX_PASSWORD) return RecordWrite::kNotWritten;
  PathName path = accountPathName(con, name);
  Inode node;
  int16_t existing = resolveWhole(ds, false, path);
  if (existing >= 0 && node.read(ds, existing) >= 0 && node.isFile()) return RecordWrite::kExists;
  if (createFile(ds, false, SUPERUSER, path.getText()) < 0) return RecordWrite::kNotWritten;
  int16_t n = resolveWhole(ds, true, path);
  if (n < 0 || node.read(ds, n) < 0 || !node.isFile()) return RecordWrite::kNotWritten;
  node.setRights(ACCOUNT_RIGHTS);
  FolderBlock record;
  record.read(ds, node.getBlock(0));
  setRecordPassword(record, password);
  setRecordUserNumber(record, number);
  if (!record.write(ds)) return RecordWrite::kNotWritten;
  return node.write(ds) ? RecordWrite::kWritten : RecordWrite::kNotWritten;
}

int16_t findUserRecord(DiskStream& ds, std::string_view name, UserRecord& out) {
  if (!isValidUserName(name)) return -1;
  PathName path = accountPathName(ds.console(), name);
  int16_t n = resolveWhole(ds, false, path);
  if (n < 0) return -1;
  Inode node;
  if (!readObject(ds, n, name, node)) return -1;
  if (!node.isFile()) {
    ds.console().error("\"" + std::string(name) + "\" is a folder,not a file.");
    return -1;
  }
  FolderBlock record;
  if (record.read(ds, node.getBlock(0)) < 0) return -1;
  out.number = recordUserNumber(record);
  out.password = recordPassword(record);
  return 0;
}

std::vector<UserEntry> readUsersTable(DiskStream& ds) {
  std::vector<UserEntry> users;
  PathName passwd;
  passwd.parse(ds.console(), ACCOUNT_FOLDER);
  Inode folder;
  int16_t n = resolveWhole(ds, true, passwd);
  if (n < 0 || folder.read(ds, n) < 0 || !folder.isFolder()) return users;
  visitFolderEntries(ds, folder, [&](const std::string& name, int16_t) {
    if (name == "." || name == ".." || users.size() >= MAX_USERS) return true;
    UserRecord record;
    findUserRecord(ds, name, record);
    users.push_back({record.number, name});
    return true;
  });
  return users;
}

}  // namespace fs5
