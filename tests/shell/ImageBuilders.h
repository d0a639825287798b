// Image builders shared by the shell's copy and move tests: folders, written files and
// rights set up through the operations, before a session runs.
#ifndef FS5_TESTS_SHELL_IMAGEBUILDERS_H_
#define FS5_TESTS_SHELL_IMAGEBUILDERS_H_

#include <gtest/gtest.h>

#include <string>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {

inline void makeFolder(ImageFixture& fx, const std::string& path, int16_t owner = 0) {
  auto d = fx.open();
  ASSERT_EQ(createFolder(d->ds, false, owner, path), 0) << d->err.str();
}

inline void makeFile(ImageFixture& fx, const std::string& path, int16_t owner,
                     const std::string& typed) {
  auto d = fx.open(typed + "\x1b");
  ASSERT_EQ(createFile(d->ds, false, owner, path), 0) << d->err.str();
  ASSERT_EQ(writeFile(d->ds, path), 0) << d->err.str();
}

inline int16_t inodeOf(ImageFixture& fx, const std::string& path) {
  auto d = fx.open();
  PathName p;
  p.parse(d->con, path);
  return resolveWhole(d->ds, false, p);
}

inline void setRights(ImageFixture& fx, const std::string& path, uint16_t rights) {
  auto d = fx.open();
  Inode node;
  ASSERT_GE(node.read(d->ds, inodeOf(fx, path)), 0);
  node.setRights(rights);
  node.write(d->ds);
}

}  // namespace fs5::test

#endif  // FS5_TESTS_SHELL_IMAGEBUILDERS_H_
