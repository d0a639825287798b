#include "tools/fs5ck/ReadOnlyDiskStream.h"

#include <cerrno>

namespace fs5 {

ReadOnlyDiskStream::ReadOnlyDiskStream(Console& console, const std::string& path)
    : DiskStream(console) {
  errno = 0;
  file_ = std::fopen(path.c_str(), "rb");
  missing_ = file_ == nullptr && errno == ENOENT;
}

ReadOnlyDiskStream::~ReadOnlyDiskStream() {
  if (file_ != nullptr) std::fclose(file_);
}

bool ReadOnlyDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  if (file_ == nullptr || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(buf, 1, n, file_) == n;
}

bool ReadOnlyDiskStream::writeAt(int64_t, const uint8_t*, std::size_t) { return false; }

int64_t ReadOnlyDiskStream::fileSize() {
  if (file_ == nullptr || std::fseek(file_, 0, SEEK_END) != 0) return -1;
  return std::ftell(file_);
}

}  // namespace fs5
