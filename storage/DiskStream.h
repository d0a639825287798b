// The storage layer: the image file, its layout, the allocation maps, i-node records, folder
// and data blocks, and the image-level part of formatting. It calls only the console.
//
// DiskStream is the one stream on the image. Every access positions to an absolute offset and
// reads or writes a fixed number of bytes; nothing is cached, so the file is the authority.
// Every access is checked: the first one that fails prints
// "The disk image can not be read or written." on standard error and closes the console, so
// that message is the last thing printed; from then on every access fails at once (reads
// yield zero bytes, writes do nothing), the operation in progress unwinds without another
// word, and the shell ends with status 1.
#ifndef FS5_STORAGE_DISKSTREAM_H_
#define FS5_STORAGE_DISKSTREAM_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "console/Console.h"
#include "storage/Layout.h"

namespace fs5 {

// Prints "The <what> <n> is out of range." on standard error: a number read from the image
// (an i-node number, a datablock index, a user number) lies outside its region.
void reportOutOfRange(Console& console, std::string_view what, int n);

class DiskStream {
 public:
  explicit DiskStream(Console& console) : console_(console) {}
  virtual ~DiskStream() = default;
  DiskStream(const DiskStream&) = delete;
  DiskStream& operator=(const DiskStream&) = delete;

  Console& console() { return console_; }
  DiskLayout& layout() { return layout_; }
  const DiskLayout& layout() const { return layout_; }

  // Reads n bytes at offset into buf. On failure buf is zero-filled and false returned.
  bool read(int64_t offset, uint8_t* buf, std::size_t n);
  // Writes n bytes at offset. False on failure.
  bool write(int64_t offset, const uint8_t* buf, std::size_t n);
  // The length of the image file in bytes, or -1 when it cannot be told.
  int64_t size();
  // True once any access has failed.
  bool failed() const { return failed_; }

  // Reads the header into the layout. False when the file is shorter than the header.
  bool loadLayout();

  // Cuts or extends the image file to `length` bytes (a formatting that ends without its
  // superuser empties it). False when it was not done: a stream that is no file can not, nor
  // one that has failed.
  virtual bool resize(int64_t /*length*/) { return false; }

 protected:
  virtual bool readAt(int64_t offset, uint8_t* buf, std::size_t n) = 0;
  virtual bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) = 0;
  virtual int64_t fileSize() = 0;

 private:
  void fail();

  Console& console_;
  DiskLayout layout_;
  bool failed_ = false;
};

// The image as a host file, opened for reading and writing, created empty when missing and
// never truncated. Every access is one pread(2) or pwrite(2) of exactly its size at its
// offset: nothing is read ahead, and nothing written waits in memory.
//
// Several consoles may work on one image. The first access after releaseLock() takes an
// exclusive advisory lock (flock(2)) on the file, which the stream holds until releaseLock()
// is called again: the shell calls it whenever the console waits for a person, so every
// stretch of work between two reads of the console runs alone, reading the image afresh. Only
// names and path texts cross a read from the person: records and numbers are read again after.
// When another process holds the lock for longer than a moment, "Waiting for the disk image,
// in use by another console." is printed on standard output and the stream waits for it.
class FileDiskStream : public DiskStream {
 public:
  // With lockOnAccess false the stream takes no lock: its owner holds one.
  FileDiskStream(Console& console, const std::string& path, bool lockOnAccess = true);
  ~FileDiskStream() override;
  bool isOpen() const { return fd_ >= 0; }
  void releaseLock();
  bool resize(int64_t length) override;

 protected:
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override;
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override;
  int64_t fileSize() override;

 private:
  void holdLock();

  int fd_ = -1;
  bool locked_ = false;
  bool lockOnAccess_;
};

}  // namespace fs5

#endif  // FS5_STORAGE_DISKSTREAM_H_
