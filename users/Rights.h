// Rights: the access test behind every command's rights rule (users/CommandRights.h), and the
// owner and rights changes behind chown and chmod. Where an object is named by a path, the
// index of its last component to resolve goes with it; a negative index names the root
// folder, i-node 0, without a lookup.
#ifndef FS5_USERS_RIGHTS_H_
#define FS5_USERS_RIGHTS_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// The i-node of the object (root for a negative lastIndex), or -1 when it does not resolve.
int16_t resolveObject(DiskStream& ds, bool verbose, const PathName& path, int lastIndex);

// Asks for right k (RIGHT_READ, RIGHT_WRITE or RIGHT_EXECUTE): granted when the object's
// others bit allows it, or when `user` owns it and its owner bit (k - 6) allows it, or when
// `user` is the superuser. Prints nothing. The object is given as
//   - its record, already read (what a lookup found);
//   - its i-node number n, whose record is read here without a walk; a negative n is an
//     object that was not found, which has no rights and no owner;
//   - a path and the index of its last component to resolve (the walk is made here).
bool hasAccess(const Inode& object, int16_t user, int k);
bool hasAccess(DiskStream& ds, int16_t user, int16_t n, int k);
bool hasAccess(DiskStream& ds, int16_t user, const PathName& path, int lastIndex, int k);

// Gives the object to user `number`. A path that does not resolve prints the lookup's line.
void changeOwner(DiskStream& ds, const PathName& path, int lastIndex, int16_t number);

// Grants or revokes right k (1 to 9) of the object, printing "The user rights before
// changing:" and "The user rights after changing:", each followed by the rights line.
// False (the lookup's line printed) when the object does not resolve.
bool changeRights(DiskStream& ds, const PathName& path, int lastIndex, int k, bool grant);

// True when `user` may change the object's rights: it owns the object or is the superuser.
// An object that does not resolve prints the lookup's line and may be changed by nobody.
bool mayChangeRights(DiskStream& ds, int16_t user, const PathName& path, int lastIndex);

// A chmod rights argument: the rights (1 to 9) to grant or revoke, in the order typed.
struct RightsChange {
  bool grant = false;
  std::vector<int> rights;
};

// Parses "u" (owner) or "o" (others), then "+" (grant) or "-" (revoke), then any number of
// the letters "r", "w", "x", repeats allowed: u+rw gives grant {1, 2}, o-x revoke {9}, u+
// grant {}. False for anything else (g+r, u*r, u+q, a lone u).
bool parseRightsArgument(std::string_view text, RightsChange& change);

}  // namespace fs5

#endif  // FS5_USERS_RIGHTS_H_
