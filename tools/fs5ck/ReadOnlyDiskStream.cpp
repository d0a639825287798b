#include "tools/fs5ck/ReadOnlyDiskStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fs5 {

ReadOnlyDiskStream::ReadOnlyDiskStream(Console& console, const std::string& path)
    : DiskStream(console) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  missing_ = fd_ < 0 && errno == ENOENT;
}

ReadOnlyDiskStream::~ReadOnlyDiskStream() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadOnlyDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  return fd_ >= 0 && ::pread(fd_, buf, n, offset) == static_cast<ssize_t>(n);
}

bool ReadOnlyDiskStream::writeAt(int64_t, const uint8_t*, std::size_t) { return false; }

int64_t ReadOnlyDiskStream::fileSize() {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

}  // namespace fs5
