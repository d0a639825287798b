// A stream on an image file opened for reading only: every write is refused, so the checker
// can not change the image even by mistake. The stream takes no lock (fs5ck holds one for its
// whole run).
//
// When a valid journal lies beside the image (a stretch of work was cut short and no one has
// rolled it back yet), the stream reads the image as the rollback will leave it: the whole
// image is read into memory once and the journal laid over it there. Otherwise each read is
// one pread(2).
#ifndef FS5_TOOLS_FS5CK_READONLYDISKSTREAM_H_
#define FS5_TOOLS_FS5CK_READONLYDISKSTREAM_H_

#include <string>
#include <vector>

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
  bool overlayJournal(const std::string& path);

  int fd_ = -1;
  bool missing_ = false;
  bool overlaid_ = false;
  std::vector<uint8_t> image_;
};

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_READONLYDISKSTREAM_H_
