#include "storage/DiskStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace fs5 {

void reportOutOfRange(Console& console, std::string_view what, int n) {
  console.error("The " + std::string(what) + " " + std::to_string(n) + " is out of range.");
}

void DiskStream::fail() {
  if (!failed_) console_.error("The disk image can not be read or written.");
  console_.close();
  failed_ = true;
}

bool DiskStream::read(int64_t offset, uint8_t* buf, std::size_t n) {
  if (failed_ || offset < 0 || !readAt(offset, buf, n)) {
    std::memset(buf, 0, n);
    fail();
    return false;
  }
  return true;
}

bool DiskStream::write(int64_t offset, const uint8_t* buf, std::size_t n) {
  if (failed_ || offset < 0 || !writeAt(offset, buf, n)) {
    fail();
    return false;
  }
  return true;
}

int64_t DiskStream::size() {
  if (failed_) return -1;
  int64_t s = fileSize();
  if (s < 0) fail();
  return s;
}

bool DiskStream::loadLayout() {
  layout_ = DiskLayout{};
  int64_t s = size();
  if (s < HEADER_SIZE) return false;
  uint8_t header[HEADER_SIZE];
  if (!read(0, header, sizeof header)) return false;
  layout_ = DiskLayout::decode(header);
  return true;
}

FileDiskStream::FileDiskStream(Console& console, const std::string& path) : DiskStream(console) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

FileDiskStream::~FileDiskStream() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  return fd_ >= 0 && ::pread(fd_, buf, n, offset) == static_cast<ssize_t>(n);
}

bool FileDiskStream::writeAt(int64_t offset, const uint8_t* buf, std::size_t n) {
  return fd_ >= 0 && ::pwrite(fd_, buf, n, offset) == static_cast<ssize_t>(n);
}

int64_t FileDiskStream::fileSize() {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

}  // namespace fs5
