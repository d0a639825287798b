#include "storage/DiskStream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

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

FileDiskStream::FileDiskStream(Console& console, const std::string& path, bool lockOnAccess)
    : DiskStream(console), lockOnAccess_(lockOnAccess) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

FileDiskStream::~FileDiskStream() {
  if (fd_ >= 0) ::close(fd_);
}

void FileDiskStream::holdLock() {
  if (locked_ || fd_ < 0 || !lockOnAccess_) return;
  locked_ = true;
  for (int tries = 0; tries < 20; ++tries) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  console().line("Waiting for the disk image, in use by another console.");
  console().flush();
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

void FileDiskStream::releaseLock() {
  if (locked_ && fd_ >= 0) ::flock(fd_, LOCK_UN);
  locked_ = false;
}

bool FileDiskStream::resize(int64_t length) {
  if (failed()) return false;
  holdLock();
  return fd_ >= 0 && ::ftruncate(fd_, length) == 0;
}

bool FileDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  holdLock();
  return fd_ >= 0 && ::pread(fd_, buf, n, offset) == static_cast<ssize_t>(n);
}

bool FileDiskStream::writeAt(int64_t offset, const uint8_t* buf, std::size_t n) {
  holdLock();
  return fd_ >= 0 && ::pwrite(fd_, buf, n, offset) == static_cast<ssize_t>(n);
}

int64_t FileDiskStream::fileSize() {
  holdLock();
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

}  // namespace fs5
