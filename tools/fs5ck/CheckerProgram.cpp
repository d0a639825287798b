#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sstream>

#include "storage/Journal.h"
#include "tools/fs5ck/Checker.h"
#include "tools/fs5ck/Repair.h"

namespace fs5 {

namespace {

constexpr const char* kUsageLine = "Usage: fs5ck [-n | -p | -y] [IMAGE]";

void printUsage(std::ostream& out) {
  out << kUsageLine << "\n"
      << "Checks the fs5 disk image IMAGE (disk.fs5 in the current folder when none is given)\n"
      << "and prints one line for every way it departs from a sound image, then a summary.\n"
      << "  -n  only check; the image is never changed (the default)\n"
      << "  -p  repair only what loses nothing: map bytes alone (a leaked i-node or datablock\n"
      << "      is freed only when its bytes are all zero)\n"
      << "  -y  repair every problem; each repair prints one line\n"
      << "  --help     prints this usage\n"
      << "  --version  prints the version\n"
      << "Exit status: 0 sound, 1 problems found and all corrected, 4 problems left,\n"
      << "8 the image can not be read or written, 16 usage error.\n";
}

int refuseArguments(std::ostream& err, const std::string& why) {
  err << "fs5ck: " << why << "\n" << kUsageLine << "\n";
  return CHECK_USAGE;
}

// The image's advisory lock for the whole run, as the shells take it while they work: shared
// while fs5ck only reads, exclusive when it repairs. A missing image holds nothing; a lock
// that can not be taken leaves its failure line.
class ImageLock {
 public:
  ImageLock(const std::string& image, bool exclusive)
      : fd_(::open(image.c_str(), O_RDONLY | O_CLOEXEC)) {
    int result = 0;
    while (fd_ >= 0 && (result = ::flock(fd_, exclusive ? LOCK_EX : LOCK_SH)) != 0 &&
           errno == EINTR) {
    }
    if (result != 0) failure_ = lockFailure(errno);
  }
  ~ImageLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  ImageLock(const ImageLock&) = delete;
  ImageLock& operator=(const ImageLock&) = delete;
  bool holdsImage() const { return fd_ >= 0; }
  const std::string& failure() const { return failure_; }

 private:
  int fd_;
  std::string failure_;
};

int failOn(std::ostream& err, const std::string& image, const std::string& failure) {
  err << "fs5ck: " << image << ": " << failure << "\n";
  return CHECK_UNREADABLE;
}

// -p and -y as one transaction under the exclusive lock: a journal left by an interrupted
// change is rolled back first; the check, the repair and the check after it read through one
// stream, and the repair reaches the image in one commit, so a repair cut short leaves the
// image as it was and a rerun repairs it the same way.
int checkAndRepair(FileDiskStream& ds, const std::string& image, RepairMode mode, std::ostream& out,
                   std::ostream& err) {
  CheckReport found = checkImage(ds);
  if (ds.rolledBack()) out << image << ": an interrupted change was rolled back.\n";
  if (!found.readable) return failOn(err, image, found.failure);
  for (const std::string& line : found.problems) out << line << "\n";
  if (found.sound()) {
    out << image << ": " << found.summary() << "\n";
    return found.exitStatus();
  }
  for (const std::string& line : repairImage(ds, mode, found.found)) out << line << "\n";
  if (ds.failed() || !ds.commit()) return failOn(err, image, "the image can not be written.");
  CheckReport left = checkImage(ds);
  if (!left.readable) return failOn(err, image, left.failure);
  out << image << ": " << left.counts() << ", problems " << found.problems.size() << ", left "
      << left.problems.size() << "\n";
  return left.sound() ? CHECK_CORRECTED : CHECK_PROBLEMS;
}

}  // namespace

int runChecker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    printUsage(out);
    return CHECK_SOUND;
  }
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    out << "fs5ck " << FS5_VERSION << "\n";
    return CHECK_SOUND;
  }
  std::optional<std::string> mode;
  std::vector<std::string> images;
  for (const std::string& arg : args) {
    if (arg == "-n" || arg == "-p" || arg == "-y") {
      if (mode) return refuseArguments(err, "only one of -n, -p and -y can be given.");
      mode = arg;
    } else if (!arg.empty() && arg[0] == '-') {
      return refuseArguments(err, "unknown option \"" + arg + "\".");
    } else {
      images.push_back(arg);
    }
  }
  if (images.size() > 1) return refuseArguments(err, "only one image can be checked.");
  std::string image = images.empty() ? DEFAULT_IMAGE : images[0];
  bool repairing = mode && *mode != "-n";
  ImageLock lock(image, repairing);
  if (!lock.failure().empty()) {
    err << lock.failure() << "\n";
    return CHECK_UNREADABLE;
  }
  std::istringstream in;
  std::ostringstream discarded;
  Console con(in, discarded, discarded);
  std::optional<FileDiskStream> ds;
  if (repairing && lock.holdsImage()) ds.emplace(con, image, false);
  RepairMode repairMode = mode == "-y" ? RepairMode::kAll : RepairMode::kLossless;
  if (ds && ds->isOpen()) return checkAndRepair(*ds, image, repairMode, out, err);
  CheckReport report = checkImageFile(image);
  if (!report.readable) return failOn(err, image, report.failure);
  if (readJournalFile(image))
    out << image << ": an interrupted change is pending; it will be rolled back.\n";
  for (const std::string& line : report.problems) out << line << "\n";
  if (report.sound() || !repairing) {
    out << image << ": " << report.summary() << "\n";
    return report.exitStatus();
  }
  return failOn(err, image, "the image can not be opened for writing.");
}

}  // namespace fs5
