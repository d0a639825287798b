#include "storage/AccountRecord.h"
#include "storage/FolderBlock.h"
#include "tools/fs5ck/ImageRepair.h"
#include "tools/fs5ck/Texts.h"

namespace fs5 {

// Gives user number 0 to "root", then to every other account a number of its own.
void ImageRepair::fixAccounts(int passwd) {
  std::vector<int> accounts = accountSlots(passwd);
  int root = chooseSuperuser(passwd, accounts);
  if (root < 0)
    makeRootAccount(passwd);
  else if (userNumber(entries_[passwd][root]) != 0)
    setUserNumber(passwd, entries_[passwd][root], 0);
  giveOwnNumbers(passwd, accounts, root);
}

// The place of the account "root"; when there is none, the first account holding 0, renamed
// "root"; -1 when no account holds 0 either.
int ImageRepair::chooseSuperuser(int passwd, const std::vector<int>& accounts) {
  std::vector<RepairEntry>& list = entries_[passwd];
  for (int i : accounts)
    if (list[i].name == SUPERUSER_NAME) return i;
  for (int i : accounts) {
    if (userNumber(list[i]) != 0) continue;
    announce(passwd,
             repairLine(Repair::kRenamedRoot, {accountFilePath(list[i].name), SUPERUSER_NAME}));
    list[i].name = SUPERUSER_NAME;
    return i;
  }
  return -1;
}

// Every account but the superuser's at `root` that holds 0, a number outside the user map or
// one an earlier account holds gets the lowest number no account holds.
void ImageRepair::giveOwnNumbers(int passwd, const std::vector<int>& accounts, int root) {
  std::vector<RepairEntry>& list = entries_[passwd];
  int users = layout_.userCount();
  std::vector<bool> taken(users, false), seen(users, false);
  taken[0] = seen[0] = true;
  for (int i : accounts) {
    int u = userNumber(list[i]);
    if (u >= 0 && u < users) taken[u] = true;
  }
  for (int i : accounts) {
    int u = userNumber(list[i]);
    if (i == root) continue;
    if (u < 0 || u >= users || seen[u]) {
      for (u = 1; u < users && taken[u];) ++u;
      if (u == users) continue;
      taken[u] = true;
      setUserNumber(passwd, list[i], u);
    }
    seen[u] = true;
  }
}

// The places in the folder's entries of its account files.
std::vector<int> ImageRepair::accountSlots(int passwd) const {
  std::vector<int> accounts;
  for (std::size_t i = 2; i < entries_[passwd].size(); ++i)
    if (nodes_[entries_[passwd][i].inode].isFile()) accounts.push_back(static_cast<int>(i));
  return accounts;
}

// The user number in the account file's first datablock, or -1 when it has none.
int ImageRepair::userNumber(const RepairEntry& account) {
  std::vector<int16_t> list = listOf(account.inode);
  if (list.empty() || !inArea(list[0])) return -1;
  FolderBlock record;
  record.decode(blockBytes(list[0]).data());
  return recordUserNumber(record);
}

void ImageRepair::setUserNumber(int passwd, RepairEntry& account, int u) {
  std::vector<int16_t> list = listOf(account.inode);
  if (list.empty() || !inArea(list[0])) return;
  BlockBytes bytes = blockBytes(list[0]);
  FolderBlock record;
  record.decode(bytes.data());
  setRecordUserNumber(record, static_cast<int16_t>(u));
  record.encode(bytes.data());
  pending_[list[0]] = bytes;
  userSaid_[u] = true;
  announce(passwd, repairLine(Repair::kUserNumberSet, {accountFilePath(account.name), decimal(u)}));
}

// An account "root" of user number 0 whose password is empty, with the rights of an account
// file. No login can type an empty password; fs5sh asks for a new superuser password instead.
void ImageRepair::makeRootAccount(int passwd) {
  int n = takeInode();
  int k = n < 0 ? -1 : takeBlock(n, BlockBytes{});
  if (k < 0) return;
  makeRecord(n, false);
  nodes_[n].setRights(ACCOUNT_RIGHTS);
  setList(n, {static_cast<int16_t>(k)});
  reach(n);
  entries_[passwd].push_back({SUPERUSER_NAME, n});
  userSaid_[0] = true;
  announce(passwd, repairLine(Repair::kRootAccountMade, {accountFilePath(SUPERUSER_NAME)}));
}

// Notes the user numbers the accounts hold, when /etc/passwd is a walked folder. -p may mark
// the superuser's number used, and those of accounts it brings into use.
void ImageRepair::countHolders() {
  allow("user number", SUPERUSER);
  int etc = findFolder(0, "etc");
  int passwd = etc < 0 ? -1 : findFolder(etc, "passwd");
  if (passwd < 0) return;
  accountsKnown_ = true;
  for (int i : accountSlots(passwd)) {
    int u = userNumber(entries_[passwd][i]);
    if (u < 0 || u >= layout_.userCount()) continue;
    held_[u] = true;
    if (mayChange("i-node", entries_[passwd][i].inode)) allow("user number", u);
  }
  for (int u = 0; mayChange("i-node", passwd) && u < layout_.userCount(); ++u)
    allow("user number", u);
}

}  // namespace fs5
