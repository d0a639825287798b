#include "users/Rights.h"

#include "fsops/Lookup.h"
#include "storage/Inode.h"
#include "users/AccountStore.h"

namespace fs5 {

int16_t resolveObject(DiskStream& ds, bool verbose, const PathName& path, int lastIndex) {
  if (lastIndex < 0) return 0;
  return resolvePath(ds, verbose, path, lastIndex);
}

bool hasAccess(const Inode& object, int16_t user, int k) {
  if (object.hasRight(k)) return true;
  if (object.getOwner() == user && object.hasRight(k - 6)) return true;
  return user == SUPERUSER;
}

bool hasAccess(DiskStream& ds, int16_t user, int16_t n, int k) {
  Inode object;
  if (n >= 0 && object.read(ds, n) >= 0) return hasAccess(object, user, k);
  return user == SUPERUSER;
}

bool hasAccess(DiskStream& ds, int16_t user, const PathName& path, int lastIndex, int k) {
  return hasAccess(ds, user, resolveObject(ds, false, path, lastIndex), k);
}

void changeOwner(DiskStream& ds, const PathName& path, int lastIndex, int16_t number) {
  int16_t n = resolveObject(ds, true, path, lastIndex);
  Inode object;
  if (n < 0 || object.read(ds, n) < 0) return;
  object.setOwner(number);
  object.write(ds);
}

bool changeRights(DiskStream& ds, const PathName& path, int lastIndex, int k, bool grant) {
  int16_t n = resolveObject(ds, true, path, lastIndex);
  Inode object;
  if (n < 0 || object.read(ds, n) < 0) return false;
  Console& con = ds.console();
  con.line("The user rights before changing:");
  con.line(object.rightsText());
  grant ? object.grantRight(k) : object.revokeRight(k);
  con.line("The user rights after changing:");
  con.line(object.rightsText());
  object.write(ds);
  return true;
}

bool mayChangeRights(DiskStream& ds, int16_t user, const PathName& path, int lastIndex) {
  int16_t n = resolveObject(ds, true, path, lastIndex);
  Inode object;
  if (n < 0 || object.read(ds, n) < 0) return false;
  return user == SUPERUSER || object.getOwner() == user;
}

bool parseRightsArgument(std::string_view text, RightsChange& change) {
  change = {};
  if (text.size() < 2 || (text[0] != 'u' && text[0] != 'o')) return false;
  if (text[1] != '+' && text[1] != '-') return false;
  int base = text[0] == 'o' ? 6 : 0;
  RightsChange parsed{text[1] == '+', {}};
  for (char letter : text.substr(2)) {
    std::size_t at = std::string_view("rwx").find(letter);
    if (at == std::string_view::npos) return false;
    parsed.rights.push_back(base + static_cast<int>(at) + 1);
  }
  change = parsed;
  return true;
}

}  // namespace fs5
