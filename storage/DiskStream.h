// The storage layer: the image file, its layout, the allocation maps, i-node records, folder
// and data blocks, and the image-level part of formatting. It calls only the console.
//
// DiskStream is the one stream on the image. Every access positions to an absolute offset and
// reads or writes a fixed number of bytes. Every access is checked: the first one that fails
// prints "The disk image can not be read or written." on standard error and closes the
// console, so that message is the last thing printed; from then on every access fails at once
// (reads yield zero bytes, writes do nothing), the operation in progress unwinds without
// another word, and the shell ends with status 1.
#ifndef FS5_STORAGE_DISKSTREAM_H_
#define FS5_STORAGE_DISKSTREAM_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "console/Console.h"
#include "storage/Layout.h"

namespace fs5 {

// Prints "The <what> <n> is out of range." on standard error: a number read from the image
// (an i-node number, a datablock index, a user number) lies outside its region.
void reportOutOfRange(Console& console, std::string_view what, int n);

// "The disk image can not be locked: <reason>.", the reason told by the error number.
std::string lockFailure(int error);

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
  // Makes the image `length` bytes long: cut there, or grown with zero bytes. False on failure.
  bool resize(int64_t length);
  // True once any access has failed.
  bool failed() const { return failed_; }

  // Reads the header into the layout. False when the file is shorter than the header.
  bool loadLayout();

 protected:
  virtual bool readAt(int64_t offset, uint8_t* buf, std::size_t n) = 0;
  virtual bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) = 0;
  virtual int64_t fileSize() = 0;
  // A stream that can not change the image's length refuses.
  virtual bool resizeTo(int64_t) { return false; }
  // Latches the failure: prints `line` on standard error (unless a failure was already
  // reported) and closes the console.
  void fail(std::string_view line = "The disk image can not be read or written.");

 private:
  Console& console_;
  DiskLayout layout_;
  bool failed_ = false;
};

// The image as a host file, opened for reading and writing, created empty when missing.
//
// Stretches of work. Several consoles may work on one image. A stretch is everything done
// between two reads from the person: it begins with the first access after releaseLock(),
// which takes an exclusive advisory lock (flock(2)) on the image, and it ends at the next
// releaseLock() (the shell calls it whenever the console is about to wait for a person) or
// when the stream is destroyed. Nothing read in one stretch may be trusted in the next: once
// the lock was given back, another console may have deleted the object and reused its i-node
// and datablocks, so only names and path texts cross a read from the person: records and
// numbers are read again after it.
//
// A stretch is a transaction: it happens whole or not at all, and once it has ended it
// survives a power loss.
//   - When the lock is taken, a valid journal (`<image>-journal`, Journal.h) left by a stretch
//     that was cut short is rolled back first, before anything is read, on every lock.
//   - The stretch reads each 4 KiB page of the image it needs once and works in memory; its
//     writes change only the memory copy.
//   - At its end, when it changed anything: the original bytes of every changed region, and
//     the image's length, go to the journal, which is synced; the image is written (adjacent
//     changes merged into one pwrite(2)) and synced; the journal's header is zeroed and synced.
//     Then the lock is given back and the memory copy dropped. That is at most three syncs; a
//     stretch that changes nothing syncs nothing.
//   - With FS5_SYNC=off in the environment nothing is synced: a stretch stays whole when the
//     process dies, not when the machine loses power.
// A failed access or commit ends the program as above; whatever part of the stretch reached
// the image is rolled back at the next lock, and of what the stretch printed only the failure
// line is shown (the console holds a stretch's output until the stretch has ended).
//
// Signals: the console is told when the lock is taken (Console::stretchBegins) and when it has
// been given back (Console::stretchEnds); in between it holds SIGINT, SIGTERM, SIGHUP and
// SIGTSTP off, so no signal tears a stretch and no stopped console sits on the lock. A console
// waiting for the lock can still be stopped. The journal is created at the first commit, with
// the image's permissions, and kept.
//
// When another process holds the lock for longer than a moment, "Waiting for the disk image,
// in use by another console." is printed on standard output and the stream waits for it.
// When the lock can not be taken for another reason, "The disk image can not be locked:
// <reason>." is printed on standard error and the stream fails as on a failed access.
class FileDiskStream : public DiskStream {
 public:
  // With lockOnAccess false the stream takes no lock: its owner holds an exclusive one.
  FileDiskStream(Console& console, const std::string& path, bool lockOnAccess = true);
  ~FileDiskStream() override;
  bool isOpen() const { return fd_ >= 0; }
  // Opens the journal beside the image, made with the image's permissions when missing, so a
  // folder that can not hold it is told before any work. False, errno saying why, when not.
  bool prepareJournal() { return openJournal(true); }
  // Ends the stretch: commits its changes, gives the lock back and forgets what was read.
  void releaseLock();
  // Ends the stretch without its changes: they are dropped unwritten, the lock is given back
  // and what was read forgotten. What an earlier commit() wrote stays.
  void abandon();
  // Commits the stretch's changes and goes on with the lock and what was read. False (with
  // the failure reported) when the commit fails.
  bool commit();
  // True once a journal left by an interrupted stretch was rolled back.
  bool rolledBack() const { return rolledBack_; }

 protected:
  enum class HostFile { kImage, kJournal };
  // The system calls on the image and its journal, one each; tests override them to fail or
  // to record. hostRead returns the bytes read, or -1.
  virtual long hostRead(HostFile file, int64_t offset, uint8_t* buf, std::size_t n);
  virtual bool hostWrite(HostFile file, int64_t offset, const uint8_t* buf, std::size_t n);
  virtual bool hostTruncate(HostFile file, int64_t length);
  virtual bool hostSync(HostFile file);
  virtual int64_t hostSize(HostFile file);
  // flock(2) on the image: 0, or the error number.
  virtual int hostLock(int operation);

  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override;
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override;
  int64_t fileSize() override;
  bool resizeTo(int64_t length) override;

 private:
  // Takes the lock (unless held or not wanted) and tells the console that a stretch begins.
  bool holdLock();
  // Forgets the stretch, gives the lock back and tells the console.
  void giveLockBack();
  bool beginStretch();
  bool rollBackJournal();
  bool openJournal(bool create);
  bool loadPages(int64_t offset, int64_t n);
  bool keepOriginals(int64_t offset, int64_t n);
  void setLength(int64_t length);
  bool writeJournal();
  bool writeChanges();
  bool invalidateJournal();
  bool sync(HostFile file);
  void endStretch();

  std::string path_;
  int fd_ = -1;
  int journalFd_ = -1;
  bool locked_ = false;
  bool lockOnAccess_;
  bool syncs_ = true;
  bool rolledBack_ = false;

  // The stretch in progress: the image as it has it (the pages flagged loaded hold the
  // file's bytes or the stretch's changes), the original bytes of the pages it changed, and
  // the changed ranges [start, end), merged.
  bool inStretch_ = false;
  int64_t fileLength_ = 0;
  int64_t length_ = 0;
  std::vector<uint8_t> memory_;
  std::vector<bool> loaded_;
  std::map<int64_t, std::vector<uint8_t>> originals_;
  std::map<int64_t, int64_t> changed_;
};

}  // namespace fs5

#endif  // FS5_STORAGE_DISKSTREAM_H_
