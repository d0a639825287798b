#include "storage/DiskStream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "storage/Journal.h"

namespace fs5 {

namespace {

// The unit in which a stretch reads the image, and how many units one read takes at least.
constexpr int64_t kPage = 4096;
constexpr int64_t kReadAhead = 4;

int64_t pagesFor(int64_t length) { return (length + kPage - 1) / kPage; }

// Adds [start, end) to a set of disjoint ranges, merging it with those it touches.
void addRange(std::map<int64_t, int64_t>& ranges, int64_t start, int64_t end) {
  auto it = ranges.upper_bound(start);
  if (it != ranges.begin() && std::prev(it)->second >= start) --it;
  while (it != ranges.end() && it->first <= end) {
    start = std::min(start, it->first);
    end = std::max(end, it->second);
    it = ranges.erase(it);
  }
  ranges[start] = end;
}

std::string folderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string lockFailure(int error) {
  std::string reason = std::strerror(error);
  reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  return "The disk image can not be locked: " + reason + ".";
}

void reportOutOfRange(Console& console, std::string_view what, int n) {
  console.error("The " + std::string(what) + " " + std::to_string(n) + " is out of range.");
}

void DiskStream::fail(std::string_view line) {
  if (!failed_) {
    console_.dropOutput();  // nothing of a stretch that failed is shown but the failure
    console_.error(line);
  }
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

bool DiskStream::resize(int64_t length) {
  if (failed_ || length < 0 || !resizeTo(length)) {
    fail();
    return false;
  }
  return true;
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
    : DiskStream(console), path_(path), lockOnAccess_(lockOnAccess) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  const char* sync = std::getenv("FS5_SYNC");
  syncs_ = sync == nullptr || std::string_view(sync) != "off";
}

FileDiskStream::~FileDiskStream() {
  releaseLock();
  if (journalFd_ >= 0) ::close(journalFd_);
  if (fd_ >= 0) ::close(fd_);
}

long FileDiskStream::hostRead(HostFile file, int64_t offset, uint8_t* buf, std::size_t n) {
  return ::pread(file == HostFile::kImage ? fd_ : journalFd_, buf, n, offset);
}

bool FileDiskStream::hostWrite(HostFile file, int64_t offset, const uint8_t* buf, std::size_t n) {
  int fd = file == HostFile::kImage ? fd_ : journalFd_;
  return ::pwrite(fd, buf, n, offset) == static_cast<ssize_t>(n);
}

bool FileDiskStream::hostTruncate(HostFile file, int64_t length) {
  return ::ftruncate(file == HostFile::kImage ? fd_ : journalFd_, length) == 0;
}

bool FileDiskStream::hostSync(HostFile file) {
  return ::fdatasync(file == HostFile::kImage ? fd_ : journalFd_) == 0;
}

int64_t FileDiskStream::hostSize(HostFile file) {
  struct stat st;
  if (::fstat(file == HostFile::kImage ? fd_ : journalFd_, &st) != 0) return -1;
  return st.st_size;
}

int FileDiskStream::hostLock(int operation) { return ::flock(fd_, operation) == 0 ? 0 : errno; }

bool FileDiskStream::sync(HostFile file) { return !syncs_ || hostSync(file); }

bool FileDiskStream::holdLock() {
  if (locked_ || !lockOnAccess_) return true;
  int error = 0;
  for (int tries = 0; tries < 20; ++tries) {
    error = hostLock(LOCK_EX | LOCK_NB);
    if (error != EWOULDBLOCK && error != EINTR) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (error == EWOULDBLOCK || error == EINTR) {
    console().lineNow("Waiting for the disk image, in use by another console.");
    do {
      error = hostLock(LOCK_EX);
    } while (error == EINTR);
  }
  if (error != 0) {
    fail(lockFailure(error));
    return false;
  }
  locked_ = true;
  console().stretchBegins();
  return true;
}

bool FileDiskStream::beginStretch() {
  if (inStretch_) return true;
  if (fd_ < 0 || !holdLock() || !rollBackJournal()) return false;
  fileLength_ = hostSize(HostFile::kImage);
  if (fileLength_ < 0) return false;
  length_ = fileLength_;
  memory_.assign(static_cast<std::size_t>(length_), 0);
  loaded_.assign(static_cast<std::size_t>(pagesFor(length_)), false);
  inStretch_ = true;
  return true;
}

void FileDiskStream::giveLockBack() {
  endStretch();
  if (!locked_) return;
  ::flock(fd_, LOCK_UN);
  locked_ = false;
  console().stretchEnds();
}

void FileDiskStream::endStretch() {
  inStretch_ = false;
  memory_.clear();
  loaded_.clear();
  originals_.clear();
  changed_.clear();
}

bool FileDiskStream::openJournal(bool create) {
  if (journalFd_ >= 0) return true;
  std::string journal = journalPathFor(path_);
  journalFd_ = ::open(journal.c_str(), O_RDWR | O_CLOEXEC);
  if (journalFd_ >= 0 || !create || errno != ENOENT) return journalFd_ >= 0;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return false;
  journalFd_ = ::open(journal.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, st.st_mode & 0777);
  if (journalFd_ < 0) return false;
  ::fchmod(journalFd_, st.st_mode & 0777);
  if (syncs_) {
    int folder = ::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 || ::fsync(folder) != 0) {
      if (folder >= 0) ::close(folder);
      return false;
    }
    ::close(folder);
  }
  return true;
}

// A journal left by a stretch cut short is put back over the image: its original bytes
// written, the image's length restored, both synced, the journal invalidated. A journal that
// is missing, torn or zeroed changes nothing.
bool FileDiskStream::rollBackJournal() {
  if (!openJournal(false)) return errno == ENOENT;
  std::vector<uint8_t> bytes(JOURNAL_HEADER_SIZE);
  long got = hostRead(HostFile::kJournal, 0, bytes.data(), bytes.size());
  if (got < 0) return false;
  std::optional<uint32_t> body;
  if (got == static_cast<long>(bytes.size())) body = journalBodySize(bytes.data());
  if (!body) return true;
  int64_t journalSize = hostSize(HostFile::kJournal);
  if (journalSize < 0) return false;
  if (journalSize < static_cast<int64_t>(JOURNAL_HEADER_SIZE + *body)) return true;
  bytes.resize(JOURNAL_HEADER_SIZE + *body);
  got =
      hostRead(HostFile::kJournal, JOURNAL_HEADER_SIZE, bytes.data() + JOURNAL_HEADER_SIZE, *body);
  if (got != static_cast<long>(*body)) return false;
  std::optional<Journal> journal = decodeJournal(bytes);
  if (!journal) return true;
  for (const JournalRecord& r : journal->records)
    if (!hostWrite(HostFile::kImage, r.offset, r.bytes.data(), r.bytes.size())) return false;
  if (!hostTruncate(HostFile::kImage, journal->imageLength) || !sync(HostFile::kImage) ||
      !invalidateJournal())
    return false;
  rolledBack_ = true;
  return true;
}

bool FileDiskStream::loadPages(int64_t offset, int64_t n) {
  int64_t onDisk = std::min(fileLength_, length_);
  int64_t count = static_cast<int64_t>(loaded_.size());
  int64_t last = std::min(count - 1, (offset + std::max<int64_t>(n, 1) - 1) / kPage);
  for (int64_t p = offset / kPage; p <= last; ++p) {
    if (loaded_[p]) continue;
    int64_t q = p + 1;
    while (q < count && !loaded_[q] && (q <= last || q < p + kReadAhead)) ++q;
    int64_t start = p * kPage, end = std::min(q * kPage, onDisk);
    if (end > start &&
        hostRead(HostFile::kImage, start, memory_.data() + start, end - start) != end - start)
      return false;
    std::fill(loaded_.begin() + p, loaded_.begin() + q, true);
    p = q - 1;
  }
  return true;
}

// Copies the original bytes of every page of [offset, offset + n) that lies in the file and
// was not copied yet, before the stretch changes them.
bool FileDiskStream::keepOriginals(int64_t offset, int64_t n) {
  int64_t end = std::min(offset + n, fileLength_);
  for (int64_t p = offset / kPage; p * kPage < end; ++p) {
    if (originals_.count(p) != 0) continue;
    if (!loadPages(p * kPage, kPage)) return false;
    int64_t start = p * kPage, stop = std::min({start + kPage, fileLength_, length_});
    originals_[p].assign(memory_.begin() + start, memory_.begin() + stop);
  }
  return true;
}

void FileDiskStream::setLength(int64_t length) {
  memory_.resize(static_cast<std::size_t>(length), 0);
  loaded_.resize(static_cast<std::size_t>(pagesFor(length)), true);
  length_ = length;
}

bool FileDiskStream::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  if (!beginStretch() || offset + static_cast<int64_t>(n) > length_ || !loadPages(offset, n))
    return false;
  std::memcpy(buf, memory_.data() + offset, n);
  return true;
}

bool FileDiskStream::writeAt(int64_t offset, const uint8_t* buf, std::size_t n) {
  int64_t end = offset + static_cast<int64_t>(n);
  if (!beginStretch() || !keepOriginals(offset, end - offset)) return false;
  if (end > length_) {
    if (length_ > 0 && !loadPages(length_ - 1, 1)) return false;
    setLength(end);
  }
  std::memcpy(memory_.data() + offset, buf, n);
  if (n > 0) addRange(changed_, offset, end);
  return true;
}

int64_t FileDiskStream::fileSize() { return beginStretch() ? length_ : -1; }

bool FileDiskStream::resizeTo(int64_t length) {
  if (!beginStretch() || !loadPages(0, length_)) return false;
  if (length < fileLength_ && !keepOriginals(length, fileLength_ - length)) return false;
  setLength(length);
  return true;
}

// The journal of the stretch: the image's length on disk and the original bytes of every
// changed range that lies in it (and of the part a shorter image loses).
bool FileDiskStream::writeJournal() {
  std::map<int64_t, int64_t> ranges = changed_;
  if (length_ < fileLength_) addRange(ranges, length_, fileLength_);
  Journal journal;
  journal.imageLength = fileLength_;
  for (auto [start, end] : ranges) {
    end = std::min(end, fileLength_);
    if (start >= end) continue;
    JournalRecord r;
    r.offset = start;
    for (int64_t at = start; at < end;) {
      int64_t page = at / kPage, upto = std::min(end, (page + 1) * kPage);
      auto from = originals_[page].begin() + (at - page * kPage);
      r.bytes.insert(r.bytes.end(), from, from + (upto - at));
      at = upto;
    }
    journal.records.push_back(std::move(r));
  }
  std::vector<uint8_t> bytes = encodeJournal(journal);
  return openJournal(true) && hostWrite(HostFile::kJournal, 0, bytes.data(), bytes.size()) &&
         sync(HostFile::kJournal);
}

// Writes the changed ranges, each run of them one write: two ranges go together when less
// than a page lies between them and that is in memory (so no unchanged page is written).
bool FileDiskStream::writeChanges() {
  std::vector<std::pair<int64_t, int64_t>> runs;
  for (auto [start, end] : changed_) {
    end = std::min(end, length_);
    if (start >= end) continue;
    if (!runs.empty()) {
      int64_t gapFirst = runs.back().second / kPage, gapLast = (start - 1) / kPage;
      bool known = start - runs.back().second < kPage &&
                   std::all_of(loaded_.begin() + gapFirst, loaded_.begin() + gapLast + 1,
                               [](bool b) { return b; });
      if (known) {
        runs.back().second = end;
        continue;
      }
    }
    runs.push_back({start, end});
  }
  for (auto [start, end] : runs)
    if (!hostWrite(HostFile::kImage, start, memory_.data() + start, end - start)) return false;
  if (length_ != fileLength_ && !hostTruncate(HostFile::kImage, length_)) return false;
  return sync(HostFile::kImage);
}

bool FileDiskStream::invalidateJournal() {
  const uint8_t zeros[JOURNAL_HEADER_SIZE] = {};
  return hostWrite(HostFile::kJournal, 0, zeros, sizeof zeros) && sync(HostFile::kJournal);
}

bool FileDiskStream::commit() {
  if (failed()) return false;
  if (!inStretch_ || (changed_.empty() && length_ == fileLength_)) return true;
  if (!writeJournal() || !writeChanges() || !invalidateJournal()) {
    fail();
    return false;
  }
  fileLength_ = length_;
  originals_.clear();
  changed_.clear();
  return true;
}

void FileDiskStream::releaseLock() {
  if (inStretch_ && !failed()) commit();
  giveLockBack();
}

void FileDiskStream::abandon() { giveLockBack(); }

}  // namespace fs5
