#include "tools/fs5ck/ReadOnlyDiskStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "storage/Journal.h"

namespace fs5 {

ReadOnlyDiskStream::ReadOnlyDiskStream(Console& console, const std::string& path)
    : DiskStream(console) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  missing_ = fd_ < 0 && errno == ENOENT;
  if (fd_ >= 0 && !overlayJournal(path)) {
    ::close(fd_);
    fd_ = -1;
  }
}

ReadOnlyDiskStream::~ReadOnlyDiskStream() {
  if (fd_ >= 0) ::close(fd_);
}

// False when the image, with a journal beside it, can not be read whole.
bool ReadOnlyDiskStream::overlayJournal(const std::string& path) {
  std::optional<Journal> journal = readJournalFile(path);
  if (!journal) return true;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return false;
  image_.resize(static_cast<std::size_t>(st.st_size));
  if (::pread(fd_, image_.data(), image_.size(), 0) != static_cast<ssize_t>(image_.size()))
    return false;
  rollBackInMemory(*journal, image_);
  overlaid_ = true;
  return true;
}

bool ReadOnlyDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  if (!overlaid_) return fd_ >= 0 && ::pread(fd_, buf, n, offset) == static_cast<ssize_t>(n);
  if (offset + static_cast<int64_t>(n) > static_cast<int64_t>(image_.size())) return false;
  std::memcpy(buf, image_.data() + offset, n);
  return true;
}

bool ReadOnlyDiskStream::writeAt(int64_t, const uint8_t*, std::size_t) { return false; }

int64_t ReadOnlyDiskStream::fileSize() {
  if (overlaid_) return static_cast<int64_t>(image_.size());
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

}  // namespace fs5
