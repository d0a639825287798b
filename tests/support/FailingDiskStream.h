// An image stream that fails its Nth access (reads, writes and size queries counted
// together), for tests of what happens when the host disk fails.
#ifndef FS5_TESTS_SUPPORT_FAILINGDISKSTREAM_H_
#define FS5_TESTS_SUPPORT_FAILINGDISKSTREAM_H_

#include "storage/DiskStream.h"

namespace fs5::test {

class FailingDiskStream : public FileDiskStream {
 public:
  FailingDiskStream(Console& con, const std::string& path, long failAt)
      : FileDiskStream(con, path), failAt_(failAt) {}
  long accesses() const { return count_; }

 protected:
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override {
    return pass() && FileDiskStream::readAt(offset, buf, n);
  }
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override {
    return pass() && FileDiskStream::writeAt(offset, buf, n);
  }
  int64_t fileSize() override { return pass() ? FileDiskStream::fileSize() : -1; }

 private:
  bool pass() { return ++count_ != failAt_; }
  long failAt_;
  long count_ = 0;
};

}  // namespace fs5::test

#endif  // FS5_TESTS_SUPPORT_FAILINGDISKSTREAM_H_
