#include "users/CommandRights.h"

#include "fsops/Lookup.h"
#include "storage/Inode.h"
#include "users/Rights.h"

namespace fs5 {

namespace {

bool objectGrants(DiskStream& ds, int16_t user, const PathName& path, int k) {
  return hasAccess(ds, user, path, path.getDepth() - 1, k);
}

bool holderGrants(DiskStream& ds, int16_t user, const PathName& path, int k) {
  return hasAccess(ds, user, path, path.getDepth() - 2, k);
}

bool namesFolder(DiskStream& ds, const PathName& path) {
  int16_t n = resolveWhole(ds, false, path);
  Inode node;
  return n >= 0 && node.read(ds, n) >= 0 && node.isFolder();
}

}  // namespace

bool mayPrintFile(DiskStream& ds, int16_t user, const PathName& file) {
  return objectGrants(ds, user, file, RIGHT_READ);
}

bool mayListFolder(DiskStream& ds, int16_t user, const PathName& folder) {
  return objectGrants(ds, user, folder, RIGHT_READ);
}

bool mayCreateIn(DiskStream& ds, int16_t user, const PathName& target) {
  return holderGrants(ds, user, target, RIGHT_WRITE);
}

bool mayDelete(DiskStream& ds, int16_t user, const PathName& target) {
  return holderGrants(ds, user, target, RIGHT_WRITE);
}

bool mayTakeFrom(DiskStream& ds, int16_t user, const PathName& source, bool takesFromSource) {
  return holderGrants(ds, user, source, RIGHT_READ) &&
         (!takesFromSource || holderGrants(ds, user, source, RIGHT_WRITE));
}

bool mayWriteTo(DiskStream& ds, int16_t user, const PathName& destination) {
  return namesFolder(ds, destination) ? objectGrants(ds, user, destination, RIGHT_WRITE)
                                      : holderGrants(ds, user, destination, RIGHT_WRITE);
}

}  // namespace fs5
