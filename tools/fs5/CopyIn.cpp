// cp from the host into the image: every source is looked at and every refusal made before
// the image is written, and then the whole copy is made in one stretch.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fsops/Content.h"
#include "storage/AllocMaps.h"
#include "tools/fs5/ImageOps.h"
#include "tools/fs5/Session.h"
#include "users/CommandRights.h"

namespace fs5 {

namespace {

// One object the copy makes or replaces in the image.
struct Incoming {
  std::string host;
  std::string image;
  bool folder = false;
  std::string content;
  int16_t existing = -1;  // the file replaced or the folder copied into; -1 when new
  int existingBlocks = 0;
  int newEntries = 0;  // for a new folder: the entries made in it
};

int blocksForEntries(int entries) { return (entries + ENTRIES_PER_BLOCK - 1) / ENTRIES_PER_BLOCK; }

std::string childText(const std::string& folder, const std::string& name) {
  return (folder == "/" ? "" : folder) + "/" + name;
}

std::string holderText(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// The name a host file or folder has on its own ("notes" for "a/notes/", "a" for "a/.").
std::string hostBaseName(const std::string& host) {
  std::filesystem::path p = std::filesystem::absolute(host).lexically_normal();
  std::string name = p.filename().string();
  return name.empty() ? p.parent_path().filename().string() : name;
}

class InboundCopy {
 public:
  explicit InboundCopy(Session& s) : s_(s) {}

  // Plans the copy of `host` to the image path `target`, in the folder `holder` (an i-node of
  // the image, or -1 for a folder this copy makes, whose index in items_ is `newHolder`).
  void plan(const std::string& host, const std::string& target, int16_t holder, int newHolder);
  // Refuses the copy when the image lacks the i-nodes or datablocks it needs.
  void checkSpace(const std::string& dest);
  // Makes the planned objects in order; stops at the first failure.
  void make();
  bool refused() const { return refused_; }

 private:
  void refuse(const std::string& host, const std::string& reason) {
    s_.fail(host, reason);
    refused_ = true;
  }
  bool readContent(const std::string& host, int64_t size, std::string& content);
  bool mayWriteIn(int16_t holder, const std::string& holderPath);
  void planChildren(const std::string& host, const std::string& target, int16_t folder);
  void noteNewEntry(int16_t holder, int newHolder);
  int peakBlocks();

  Session& s_;
  std::vector<Incoming> items_;
  std::map<int16_t, int> grown_;  // an existing folder -> the entries it gets
  std::map<int16_t, bool> writable_;
  std::map<std::string, std::string> sources_;  // image path -> the host path copied there
  bool refused_ = false;
};

// Reads the host file of `size` bytes (as lstat saw it) when the image can hold it.
bool InboundCopy::readContent(const std::string& host, int64_t size, std::string& content) {
  if (size <= MAX_CONTENT_BYTES) {
    std::ifstream in(host, std::ios::binary);
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      refuse(host, "the file can not be read.");
      return false;
    }
    size = static_cast<int64_t>(content.size());
  }
  if (size > MAX_CONTENT_BYTES) {
    refuse(host, "the file is " + std::to_string(size) + " bytes long; the largest file holds " +
                     std::to_string(MAX_CONTENT_BYTES) + " bytes.");
    return false;
  }
  std::size_t mark = content.find(static_cast<char>(END_MARK));
  if (mark == std::string::npos) return true;
  refuse(host,
         "the content holds the byte 27 (the end mark) at offset " + std::to_string(mark) + ".");
  return false;
}

bool InboundCopy::mayWriteIn(int16_t holder, const std::string& holderPath) {
  auto known = writable_.find(holder);
  if (known != writable_.end()) return known->second;
  PathName path;
  bool granted = s_.parseImagePath("::" + holderPath, holderPath, path) &&
                 mayWriteTo(s_.ds(), s_.user(), lookUpObject(s_.ds(), path));
  writable_[holder] = granted;
  return granted;
}

void InboundCopy::noteNewEntry(int16_t holder, int newHolder) {
  if (holder < 0) {
    ++items_[newHolder].newEntries;
  } else {
    ++grown_[holder];
  }
}

void InboundCopy::plan(const std::string& host, const std::string& target, int16_t holder,
                       int newHolder) {
  struct stat st;
  if (::lstat(host.c_str(), &st) != 0) return refuse(host, "no such file or folder.");
  bool folder = S_ISDIR(st.st_mode);
  if (!folder && !S_ISREG(st.st_mode))
    return refuse(host, "is neither a regular file nor a folder; it is not copied.");
  if (folder && !s_.options().has('R'))
    return refuse(host, "is a folder; -R copies a folder tree.");
  PathName path;
  if (!s_.parseImagePath("::" + target, host, path)) return void(refused_ = true);
  std::string refusal = nameRefusal(path.lastName());
  if (!refusal.empty()) return refuse(host, refusal);
  auto [earlier, first] = sources_.emplace(target, host);
  if (!first) return refuse(host, "::" + target + " is copied from " + earlier->second + " too.");
  Incoming item{host, target, folder, {}, -1, 0, 0};
  Handle there;
  if (holder >= 0) there = lookUpObject(s_.ds(), path);
  item.existing = there.number;
  const Inode& node = there.node;
  if (item.existing >= 0 && !there.found())
    return s_.failWithReason(host, "the object it would replace can not be used."),
           void(refused_ = true);
  if (item.existing >= 0 && node.isFolder() != folder)
    return refuse(host, "::" + target + (folder ? " is a file." : " is a folder."));
  if (item.existing >= 0 && !folder && s_.options().has('n')) return;
  bool merging = folder && item.existing >= 0;
  if (holder >= 0 && !merging && !mayWriteIn(holder, holderText(target)))
    return refuse(host, "access denied.");
  if (!folder && !readContent(host, st.st_size, item.content)) return;
  item.existingBlocks = item.existing >= 0 ? node.getBlockCount() : 0;
  if (item.existing < 0) noteNewEntry(holder, newHolder);
  items_.push_back(item);
  if (folder) planChildren(host, target, item.existing);
}

void InboundCopy::planChildren(const std::string& host, const std::string& target, int16_t folder) {
  int index = static_cast<int>(items_.size()) - 1;
  std::vector<std::string> names;
  std::error_code failure;
  for (const auto& entry : std::filesystem::directory_iterator(host, failure))
    names.push_back(entry.path().filename().string());
  if (failure) return refuse(host, "the folder can not be read.");
  std::sort(names.begin(), names.end());
  for (const std::string& name : names)
    plan(host + "/" + name, childText(target, name), folder, index);
}

int InboundCopy::peakBlocks() {
  int needed = 0;
  for (const auto& [folder, added] : grown_) {
    int entries = countFolderEntries(s_.ds(), folder);
    needed += blocksForEntries(entries + added) - blocksForEntries(entries);
  }
  int peak = needed;
  for (const Incoming& item : items_) {
    if (item.folder && item.existing < 0) needed += blocksForEntries(2 + item.newEntries);
    if (!item.folder) needed += blocksForContent(item.content.size()) - item.existingBlocks;
    peak = std::max(peak, needed);
  }
  return peak;
}

void InboundCopy::checkSpace(const std::string& dest) {
  const DiskLayout& layout = s_.ds().layout();
  int freeInodes = 0, freeBlocks = 0;
  for (int n = 0; n < layout.inodeCount(); ++n) freeInodes += isInodeUsed(s_.ds(), n) ? 0 : 1;
  for (int k = 0; k < layout.blockCount(); ++k) freeBlocks += isBlockUsed(s_.ds(), k) ? 0 : 1;
  int inodes = static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                              [](const Incoming& i) { return i.existing < 0; }));
  int blocks = peakBlocks();
  if (inodes > freeInodes)
    refuse(dest, "the copy needs " + std::to_string(inodes) + " free i-nodes; the image has " +
                     std::to_string(freeInodes) + ".");
  if (blocks > freeBlocks)
    refuse(dest, "the copy needs " + std::to_string(blocks) + " free datablocks; the image has " +
                     std::to_string(freeBlocks) + ".");
}

void InboundCopy::make() {
  for (const Incoming& item : items_) {
    s_.clearMessages();
    bool made = true;
    if (item.folder && item.existing < 0) {
      made = makeImageFolder(s_.ds(), s_.user(), item.image) == 0;
    } else if (!item.folder) {
      made = (item.existing >= 0 || makeImageFile(s_.ds(), s_.user(), item.image) == 0) &&
             storeFileBytes(s_.ds(), item.image, item.content) == 0;
    }
    if (!made) return s_.failWithReason(item.host, "it was not copied.");
  }
}

}  // namespace

int copyIntoImage(Session& s, const std::vector<std::string>& sources, const std::string& dest) {
  PathName destPath;
  if (!s.parseImagePath(dest, sources.size() == 1 ? sources[0] : dest, destPath)) return s.status();
  std::string target = destPath.getText();
  Handle destination = lookUpObject(s.ds(), destPath);
  bool intoFolder = destination.isFolder();
  if (!intoFolder && sources.size() > 1) return s.fail(dest, "is not a folder."), s.status();
  int16_t holder = destination.number;
  if (!intoFolder) {
    holder = destination.isRoot() ? int16_t{0} : destination.parent;
    if (holder < 0)
      return s.fail(dest, "the folder that would hold it does not exist."), s.status();
  }
  InboundCopy copy(s);
  for (const std::string& source : sources)
    copy.plan(source, intoFolder ? childText(target, hostBaseName(source)) : target, holder, -1);
  if (!copy.refused()) copy.checkSpace(dest);
  if (!copy.refused()) copy.make();
  s.endWriting();
  return s.status();
}

}  // namespace fs5
