// The rights each command asks for, each rule written once, so that every front end (the
// console's commands, the host tool) grants and refuses the same things. Each takes the acting
// user and the command's objects: what a lookup found where the command has looked its object
// up (the test then walks nothing again), else an absolute path. Each prints nothing and says
// whether the command may go on; the caller prints its own refusal (the console "Access
// denied." and the command's line). The tests themselves are hasAccess's (users/Rights.h): the
// others bit, the owner's bit for the owner, and everything for the superuser. An object that
// was not found has no rights: only the superuser passes.
//
// A found object's holder is the folder its lookup took it from; the root folder's holder, and
// the holder of a one-component path, is the root folder.
#ifndef FS5_USERS_COMMANDRIGHTS_H_
#define FS5_USERS_COMMANDRIGHTS_H_

#include <cstdint>

#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// A command's rule: the right it asks for (RIGHT_READ, RIGHT_WRITE or RIGHT_EXECUTE) and
// where: on its object itself, or on the folder that holds it (onHolder).
struct AccessRule {
  int right;
  bool onHolder;
};

inline constexpr AccessRule PRINT_FILE{RIGHT_READ, false};       // cat; copying out
inline constexpr AccessRule WRITE_FILE{RIGHT_WRITE, false};      // vi -i
inline constexpr AccessRule LIST_FOLDER{RIGHT_READ, false};      // ls
inline constexpr AccessRule ENTER_FOLDER{RIGHT_EXECUTE, false};  // cd
inline constexpr AccessRule CREATE_IN{RIGHT_WRITE, true};        // mkdir, vi
inline constexpr AccessRule DELETE_FROM{RIGHT_WRITE, true};      // rm, rmdir

// True when `user` may act on the object under `rule`: the object as a lookup found it, or
// named by its absolute path (walked here).
bool mayAct(DiskStream& ds, int16_t user, AccessRule rule, const Handle& object);
bool mayAct(DiskStream& ds, int16_t user, AccessRule rule, const PathName& object);

// cp and mv, the source's part: the read right on the folder that holds the source and, for
// a move (takesFromSource), the write right on it too.
bool mayTakeFrom(DiskStream& ds, int16_t user, const PathName& source, bool takesFromSource);

// cp and mv, the destination's part: the write right on the destination when it is an
// existing folder (the copy goes into it), else on the folder that holds it.
bool mayWriteTo(DiskStream& ds, int16_t user, const Handle& destination);

}  // namespace fs5

#endif  // FS5_USERS_COMMANDRIGHTS_H_
