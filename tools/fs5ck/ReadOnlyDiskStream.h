// A stream on an image file opened for reading only: every write is refused, so the checker
// can not change the image even by mistake. Each read is one pread(2); the stream takes no
// lock (fs5ck holds one for its whole run).
#ifndef FS5_TOOLS_FS5CK_READONLYDISKSTREAM_H_
#define FS5_TOOLS_FS5CK_READONLYDISKSTREAM_H_

#include <string>

#include "storage/DiskStream.h"

namespace fs5 {

class ReadOnlyDiskStream : public DiskStream {
 public:
  ReadOnlyDiskStream(Console& console, const std::string& path);
  ~ReadOnlyDiskStream() override;
  bool isOpen() const { return fd_ >= 0; }
  // True when the open failed because there is no such file.
  bool isMissing() const { return missing_; }

 protected:
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override;
  // Always false: nothing is written.
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override;
  int64_t fileSize() override;

 private:
  int fd_ = -1;
  bool missing_ = false;
};

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_READONLYDISKSTREAM_H_
