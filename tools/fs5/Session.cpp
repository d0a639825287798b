#include "tools/fs5/Session.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/fs5/ImageOps.h"
#include "tools/fs5ck/ReadOnlyDiskStream.h"
#include "users/AccountStore.h"

namespace fs5 {

bool isImagePath(std::string_view arg) { return arg.starts_with("::"); }

std::string imagePathText(std::string_view arg) {
  std::string text(arg.substr(2));
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

Session::Session(const ToolOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err) {}

Session::~Session() {
  if (readLock_ >= 0) ::close(readLock_);
}

void Session::fail(std::string_view path, std::string_view reason) {
  err_ << "fs5: " << path << ": " << reason << "\n";
  status_ = TOOL_FAILED;
}

void Session::failWithReason(std::string_view path, std::string_view fallback) {
  std::string said = complained_.str();
  complained_.str("");
  std::string reason(fallback);
  if (ds_ && ds_->failed()) {
    reason = "the image can not be read or written.";
  } else if (!said.empty()) {
    reason = said.substr(0, said.find('\n'));
  }
  fail(path, reason);
}

std::string Session::takeOutput() {
  std::string text = said_.str();
  said_.str("");
  complained_.str("");
  return text;
}

bool Session::parseImagePath(std::string_view arg, std::string_view named, PathName& path) {
  clearMessages();
  if (path.parse(con_, imagePathText(arg)) == 0) return true;
  failWithReason(named, "the path can not be used.");
  return false;
}

bool Session::findObject(std::string_view arg, Handle& found) {
  PathName path;
  if (!parseImagePath(arg, arg, path)) return false;
  found = lookUpObject(*ds_, path);
  if (found.found()) return true;
  failWithReason(arg, found.number < 0 ? "no such file or folder." : "the record can not be used.");
  return false;
}

void Session::clearMessages() { complained_.str(""); }

std::string nameRefusal(std::string_view name) {
  if (name.size() > MAX_NAME) return "the name is longer than 30 characters.";
  for (char c : name) {
    if (c == ' ') return "the name holds a blank, which the console can not type.";
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      return "the name holds a control character, which the console can not type.";
  }
  return "";
}

void Session::beginReading() {
  if (readLock_ >= 0) ::flock(readLock_, LOCK_SH);
}

void Session::endReading() {
  if (readLock_ >= 0) ::flock(readLock_, LOCK_UN);
}

void Session::endWriting() {
  if (writer_ == nullptr) return;
  if (status() == 0) {
    writer_->releaseLock();
  } else {
    writer_->abandon();
  }
}

bool Session::checkImageFile(bool writes) {
  const std::string& image = options_.image;
  struct stat st;
  if (::stat(image.c_str(), &st) != 0) {
    fail(image, errno == ENOENT ? "the image does not exist." : std::strerror(errno));
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    fail(image, "the image is not a regular file.");
  } else if (st.st_size == 0) {
    fail(image, "the image is empty; fs5 never formats one (fs5sh does).");
  } else if (writes && ::access(image.c_str(), W_OK) != 0) {
    fail(image, "the image is read-only, and " + options_.command + " changes it.");
  } else {
    return true;
  }
  return false;
}

bool Session::open(bool writes) {
  const std::string& image = options_.image;
  if (!checkImageFile(writes)) return false;
  if (writes) {
    auto stream = std::make_unique<FileDiskStream>(con_, image);
    writer_ = stream.get();
    if (!stream->isOpen()) return fail(image, "the image can not be opened."), false;
    ds_ = std::move(stream);
  } else {
    auto stream = std::make_unique<ReadOnlyDiskStream>(con_, image);
    if (!stream->isOpen()) return fail(image, "the image can not be opened."), false;
    ds_ = std::move(stream);
    readLock_ = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
  }
  beginReading();
  bool formatted =
      ds_->loadLayout() && ds_->layout().isValid() && ds_->size() >= ds_->layout().imageSize();
  bool found = formatted && findUser();
  endReading();
  if (!formatted) fail(image, "the image is not formatted: its layout is not valid.");
  return found;
}

bool Session::findUser() {
  user_ = SUPERUSER;
  if (options_.user.empty()) return true;
  user_ = findAccountNumber(*ds_, options_.user);
  if (user_ >= 0) return true;
  fail(options_.user, "there is no such account in the image.");
  return false;
}

}  // namespace fs5
