// A standard image holding only its root folder, made by the storage layer alone, with a
// stream whose console output is captured.
#ifndef FS5_TESTS_STORAGE_STORAGEFIXTURE_H_
#define FS5_TESTS_STORAGE_STORAGEFIXTURE_H_

#include <gtest/gtest.h>

#include <sstream>

#include "storage/DiskStream.h"
#include "storage/FormatImage.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {

class StorageTest : public ::testing::Test {
 protected:
  StorageTest() : image(dir.file("disk.fs5")), con(in, out, err) {
    ds = std::make_unique<FileDiskStream>(con, image);
    EXPECT_EQ(formatImage(*ds, 100, 1000, 100), 0);
    out.str("");
  }
  std::string errText() {
    std::string s = err.str();
    err.str("");
    return s;
  }

  TempDir dir;
  std::string image;
  std::istringstream in;
  std::ostringstream out, err;
  Console con;
  std::unique_ptr<FileDiskStream> ds;
};

}  // namespace fs5::test

#endif  // FS5_TESTS_STORAGE_STORAGEFIXTURE_H_
