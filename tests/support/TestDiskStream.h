// An image stream for tests that fails on purpose or records what a power loss would see,
// and the disk as a power loss may leave it.
#ifndef FS5_TESTS_SUPPORT_TESTDISKSTREAM_H_
#define FS5_TESTS_SUPPORT_TESTDISKSTREAM_H_

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "storage/DiskStream.h"

namespace fs5::test {

// A call that changes the image or its journal: a write of `bytes` at `offset`, a truncate to
// the length `offset`, or a sync.
struct HostCall {
  enum Kind { kWrite, kTruncate, kSync };
  Kind kind = kWrite;
  bool journal = false;
  int64_t offset = 0;
  std::vector<uint8_t> bytes;
};

// A FileDiskStream whose calls on the image and its journal (reads, writes, truncates, syncs
// and size queries) are counted in `calls`. From the `failAt`th on, every call fails, as when
// the disk fails or the power goes (-1: none fails). With `record` set, every write, truncate and
// sync is appended to it. With `lockError` set, taking the lock fails with that error number.
struct TestDiskStream : FileDiskStream {
  using FileDiskStream::FileDiskStream;

  long failAt = -1;
  long calls = 0;
  std::vector<HostCall>* record = nullptr;
  int lockError = 0;

 protected:
  long hostRead(HostFile file, int64_t offset, uint8_t* buf, std::size_t n) override;
  bool hostWrite(HostFile file, int64_t offset, const uint8_t* buf, std::size_t n) override;
  bool hostTruncate(HostFile file, int64_t length) override;
  bool hostSync(HostFile file) override;
  int64_t hostSize(HostFile file) override;
  int hostLock(int operation) override;

 private:
  bool pass();
  // Counts a call that changes a file and records it; false when it fails.
  bool change(HostCall call);
};

// A TestDiskStream on an image file whose console reads `input` and keeps both streams.
struct TestImage {
  std::istringstream in;
  std::ostringstream out;
  Console con{in, out, out};
  TestDiskStream ds;
  TestImage(const std::string& path, long failAt = -1, const std::string& input = "")
      : in(input), ds(con, path) {
    ds.failAt = failAt;
  }
};

// The bytes of an image file and of its journal.
struct DiskFiles {
  std::vector<uint8_t> image;
  std::vector<uint8_t> journal;
};

// The files as a power loss after the first `count` of `calls` may leave them, starting from
// `files`: for each file, every call up to its last sync is kept; of its later writes, each
// 4 KiB page keeps the first k of those that touch it, k drawn at random for each page (with
// `all`, every write is kept); a later truncate is kept or lost at random.
DiskFiles afterPowerLoss(DiskFiles files, const std::vector<HostCall>& calls, std::size_t count,
                         std::mt19937& random, bool all = false);

}  // namespace fs5::test

#endif  // FS5_TESTS_SUPPORT_TESTDISKSTREAM_H_
