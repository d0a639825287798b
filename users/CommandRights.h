// The rights each command asks for, one function per rule, so that every front end (the
// console's commands, the host tool) grants and refuses the same things. Each takes the acting
// user and absolute paths, prints nothing and says whether the command may go on; the caller
// prints its own refusal. The tests themselves are hasAccess's (users/Rights.h): the others
// bit, the owner's bit for the owner, and everything for the superuser.
#ifndef FS5_USERS_COMMANDRIGHTS_H_
#define FS5_USERS_COMMANDRIGHTS_H_

#include <cstdint>

#include "path/PathName.h"
#include "storage/DiskStream.h"

namespace fs5 {

// cat: the read right on the file itself.
bool mayPrintFile(DiskStream& ds, int16_t user, const PathName& file);

// ls: the read right on the folder itself.
bool mayListFolder(DiskStream& ds, int16_t user, const PathName& folder);

// mkdir and vi: the write right on the folder that is to hold the new object.
bool mayCreateIn(DiskStream& ds, int16_t user, const PathName& target);

// rm and rmdir: the write right on the folder that holds the object.
bool mayDelete(DiskStream& ds, int16_t user, const PathName& target);

// cp and mv, the source's part: the read right on the folder that holds the source and, for
// a move (takesFromSource), the write right on it too.
bool mayTakeFrom(DiskStream& ds, int16_t user, const PathName& source, bool takesFromSource);

// cp and mv, the destination's part: the write right on the destination when it is an
// existing folder (the copy goes into it), else on the folder that holds it.
bool mayWriteTo(DiskStream& ds, int16_t user, const PathName& destination);

}  // namespace fs5

#endif  // FS5_USERS_COMMANDRIGHTS_H_
