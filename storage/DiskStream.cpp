#include "storage/DiskStream.h"

#include <cerrno>
#include <cstring>

namespace fs5 {

void DiskStream::fail() {
  if (!failed_) console_.error("The disk image can not be read or written.");
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
  file_ = std::fopen(path.c_str(), "r+b");
  if (file_ == nullptr && errno == ENOENT) {
    // Create the file without truncating one that appeared in the meantime, then reopen it.
    if (std::FILE* made = std::fopen(path.c_str(), "ab")) std::fclose(made);
    file_ = std::fopen(path.c_str(), "r+b");
  }
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
}

FileDiskStream::~FileDiskStream() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  if (file_ == nullptr || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(buf, 1, n, file_) == n;
}

bool FileDiskStream::writeAt(int64_t offset, const uint8_t* buf, std::size_t n) {
  if (file_ == nullptr || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fwrite(buf, 1, n, file_) == n && std::fflush(file_) == 0;
}

int64_t FileDiskStream::fileSize() {
  if (file_ == nullptr || std::fseek(file_, 0, SEEK_END) != 0) return -1;
  return std::ftell(file_);
}

}  // namespace fs5
