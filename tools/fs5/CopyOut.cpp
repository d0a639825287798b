// cp from the image to the host. Each file is written to a temporary file in its folder and
// renamed over its name when whole, so a failure leaves no partial host file. Every source
// that fails is reported and the others are still copied.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/fs5/ImageOps.h"
#include "tools/fs5/Session.h"
#include "users/CommandRights.h"

namespace fs5 {

namespace {

// The permissions a new host file or folder gets: `mode` less the process's umask.
mode_t withUmask(mode_t mode) {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mode & ~mask;
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes `bytes` as the host file `target` through a temporary file beside it. "" on
// success, else the reason (the temporary file is gone then).
std::string replaceHostFile(const std::string& target, const std::string& bytes) {
  std::string folder = std::filesystem::path(target).parent_path().string();
  std::string temporary = (folder.empty() ? "." : folder) + "/.fs5-XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return std::strerror(errno);
  std::string failure;
  if (!writeAll(fd, bytes) || ::fchmod(fd, withUmask(0666)) != 0) failure = std::strerror(errno);
  if (::close(fd) != 0 && failure.empty()) failure = std::strerror(errno);
  if (failure.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
    failure = std::strerror(errno);
  if (!failure.empty()) ::unlink(temporary.c_str());
  return failure;
}

class OutboundCopy {
 public:
  explicit OutboundCopy(Session& s) : s_(s) {}
  // Copies the image object `arg` to the host path `host`.
  void copyObject(const std::string& arg, const std::string& host);

 private:
  void copyFound(const std::string& arg, const Handle& found, const std::string& host);
  void copyFile(const std::string& arg, const Handle& file, const std::string& host);
  void copyTree(const Handle& folder, const std::string& host);

  Session& s_;
};

void OutboundCopy::copyFile(const std::string& arg, const Handle& file, const std::string& host) {
  if (!mayAct(s_.ds(), s_.user(), PRINT_FILE, file)) return s_.fail(arg, "access denied.");
  struct stat st;
  if (::lstat(host.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return s_.fail(host, "is a folder.");
    if (!S_ISREG(st.st_mode))
      return s_.fail(host, "is neither a regular file nor a folder; it is not replaced.");
    if (s_.options().has('n')) return;
  }
  std::string bytes;
  s_.clearMessages();
  if (loadFileBytes(s_.ds(), file.node, bytes) < 0)
    return s_.failWithReason(arg, "the file can not be read.");
  std::string failure = replaceHostFile(host, bytes);
  if (!failure.empty()) s_.fail(host, failure);
}

void OutboundCopy::copyTree(const Handle& folder, const std::string& host) {
  struct stat st;
  if (::lstat(host.c_str(), &st) != 0) {
    if (::mkdir(host.c_str(), 0777) != 0) return s_.fail(host, std::strerror(errno));
  } else if (!S_ISDIR(st.st_mode)) {
    return s_.fail(host, "is not a folder.");
  }
  const PathName& path = folder.path;
  std::vector<ImageEntry> entries;
  if (!readFolderEntries(s_.ds(), folder.node, entries))
    s_.failWithReason("::" + path.getText(), "the folder can not be read.");
  for (const ImageEntry& entry : entries) {
    std::string arg = "::" + (path.isRoot() ? "" : path.getText()) + "/" + entry.name;
    s_.clearMessages();
    Handle child;
    if (!entry.name.empty()) child = lookUpEntry(s_.ds(), folder, entry.name, entry.inode);
    if (entry.name.empty() || child.result == LookupResult::BAD_PATH) {
      s_.failWithReason(arg, "the path can not be used.");
    } else if (!child.found()) {
      s_.failWithReason(arg, "the record can not be used.");
    } else {
      copyFound(arg, child, host + "/" + entry.name);
    }
  }
}

void OutboundCopy::copyFound(const std::string& arg, const Handle& found, const std::string& host) {
  if (found.node.isFile()) return copyFile(arg, found, host);
  if (!s_.options().has('R')) return s_.fail(arg, "is a folder; -R copies a folder tree.");
  copyTree(found, host);
}

void OutboundCopy::copyObject(const std::string& arg, const std::string& host) {
  Handle found;
  if (s_.findObject(arg, found)) copyFound(arg, found, host);
}

std::string imageBaseName(const std::string& arg) {
  std::string text = imagePathText(arg);
  return text.substr(text.rfind('/') + 1);
}

}  // namespace

int copyOutOfImage(Session& s, const std::vector<std::string>& sources, const std::string& dest) {
  struct stat st;
  bool intoFolder = ::stat(dest.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  if (!intoFolder && sources.size() > 1) return s.fail(dest, "is not a folder."), s.status();
  OutboundCopy copy(s);
  for (const std::string& source : sources) {
    std::string name = imageBaseName(source);
    s.beginReading();
    copy.copyObject(source, intoFolder && !name.empty() ? dest + "/" + name : dest);
    s.endReading();
  }
  return s.status();
}

}  // namespace fs5
