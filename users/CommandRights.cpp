#include "users/CommandRights.h"

#include "storage/Inode.h"
#include "users/Rights.h"

namespace fs5 {

namespace {

bool objectGrants(DiskStream& ds, int16_t user, const Handle& object, int k) {
  if (object.found()) return hasAccess(object.node, user, k);
  return hasAccess(ds, user, object.number, k);
}

bool holderGrants(DiskStream& ds, int16_t user, const Handle& object, int k) {
  return hasAccess(ds, user, object.isRoot() ? int16_t{0} : object.parent, k);
}

bool objectGrants(DiskStream& ds, int16_t user, const PathName& path, int k) {
  return hasAccess(ds, user, path, path.getDepth() - 1, k);
}

bool holderGrants(DiskStream& ds, int16_t user, const PathName& path, int k) {
  return hasAccess(ds, user, path, path.getDepth() - 2, k);
}

template <typename Object>
bool ruleGrants(DiskStream& ds, int16_t user, AccessRule rule, const Object& object) {
  return rule.onHolder ? holderGrants(ds, user, object, rule.right)
                       : objectGrants(ds, user, object, rule.right);
}

}  // namespace

bool mayAct(DiskStream& ds, int16_t user, AccessRule rule, const Handle& object) {
  return ruleGrants(ds, user, rule, object);
}

bool mayAct(DiskStream& ds, int16_t user, AccessRule rule, const PathName& object) {
  return ruleGrants(ds, user, rule, object);
}

bool mayTakeFrom(DiskStream& ds, int16_t user, const PathName& source, bool takesFromSource) {
  int16_t holder = resolveObject(ds, false, source, source.getDepth() - 2);
  return hasAccess(ds, user, holder, RIGHT_READ) &&
         (!takesFromSource || hasAccess(ds, user, holder, RIGHT_WRITE));
}

bool mayWriteTo(DiskStream& ds, int16_t user, const Handle& destination) {
  return destination.isFolder() ? objectGrants(ds, user, destination, RIGHT_WRITE)
                                : holderGrants(ds, user, destination, RIGHT_WRITE);
}

}  // namespace fs5
