#include "tests/soak/SoakImage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tools/fs5ck/Checker.h"

namespace fs5::soak {

namespace {

std::vector<uint8_t> readWholeFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return bytes;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    long size = std::ftell(f);
    if (size > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
      bytes.resize(static_cast<std::size_t>(size));
      if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
    }
  }
  std::fclose(f);
  return bytes;
}

std::string num(int n) { return std::to_string(n); }

// Walks the image and the model together from one folder or file.
class Comparison {
 public:
  Comparison(DiskStream& ds, const Model& model, std::vector<int16_t>& inodeOf)
      : ds_(ds), model_(model), inodeOf_(inodeOf) {}

  std::string run() {
    inodeOf_.assign(model_.nodes().size(), -1);
    node(0, 0, "/");
    if (!diff_.empty()) return diff_;
    totals();
    return diff_;
  }

 private:
  void differ(const std::string& what) {
    if (diff_.empty()) diff_ = what;
  }

  void node(int inode, int id, const std::string& path) {
    const Node& m = model_.nodes()[id];
    inodeOf_[id] = static_cast<int16_t>(inode);
    Inode n;
    if (n.read(ds_, inode) < 0) return differ(path + ": i-node " + num(inode) + " out of range");
    if (n.isFolder() != m.folder || n.isFile() == m.folder)
      return differ(path + ": type " + num(n.getType()) + ", the model has a " +
                    (m.folder ? "folder" : "file"));
    if (n.getOwner() != m.owner)
      differ(path + ": owner " + num(n.getOwner()) + ", the model has " + num(m.owner));
    if (n.getRights() != m.rights)
      differ(path + ": rights " + n.rightsText() + ", the model has " + num(m.rights));
    if (m.folder)
      folder(n, id, path);
    else
      file(n, m, path);
  }

  void file(const Inode& n, const Node& m, const std::string& path) {
    std::size_t blocks = m.data.size() / kBlockBytes;
    if (static_cast<std::size_t>(n.getBlockCount()) != blocks)
      return differ(path + ": " + num(n.getBlockCount()) + " datablocks, the model has " +
                    num(static_cast<int>(blocks)));
    for (std::size_t b = 0; b < blocks; ++b) {
      DataBlock block;
      block.read(ds_, n.getBlock(static_cast<int>(b)));
      if (std::memcmp(block.bytes().data(), m.data.data() + b * kBlockBytes, kBlockBytes) != 0)
        return differ(path + ": datablock " + num(static_cast<int>(b)) +
                      " of its list differs from the model's content");
    }
  }

  void folder(const Inode& n, int id, const std::string& path) {
    std::vector<std::pair<int16_t, std::string>> entries;
    for (int b = 0; b < n.getBlockCount(); ++b) {
      FolderBlock block;
      block.read(ds_, n.getBlock(b));
      for (int slot = 0; slot < block.getCount(); ++slot)
        entries.push_back({block.getEntryInode(slot), block.getEntryName(slot)});
    }
    const std::vector<Entry>& expected = model_.nodes()[id].entries;
    if (entries.size() != expected.size())
      return differ(path + ": " + num(static_cast<int>(entries.size())) +
                    " entries, the model has " + num(static_cast<int>(expected.size())) +
                    names(entries));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].second != expected[i].name)
        return differ(path + ": entry " + num(static_cast<int>(i)) + " is \"" + entries[i].second +
                      "\", the model has \"" + expected[i].name + "\"" + names(entries));
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const Entry& e = expected[i];
      if (e.name == "." || e.name == "..") {
        if (inodeOf_[e.node] != entries[i].first)
          return differ(path + ": \"" + e.name + "\" names i-node " + num(entries[i].first));
        continue;
      }
      if (inodeOf_[e.node] >= 0) return differ(path + e.name + ": reached twice in the model");
      node(entries[i].first, e.node, (path == "/" ? path : path + "/") + e.name);
      if (!diff_.empty()) return;
    }
  }

  static std::string names(const std::vector<std::pair<int16_t, std::string>>& entries) {
    std::string s = " (image:";
    for (const auto& e : entries) s += " " + e.second;
    return s + ")";
  }

  void totals() {
    int used = 0, blocks = 0;
    for (int n = 0; n < kInodes; ++n) used += isInodeUsed(ds_, n);
    for (int k = 0; k < kBlocks; ++k) blocks += isBlockUsed(ds_, k);
    if (used != kInodes - model_.freeInodes())
      differ(num(used) + " i-nodes used, the model has " + num(kInodes - model_.freeInodes()));
    if (blocks != model_.usedBlocks())
      differ(num(blocks) + " datablocks used, the model has " + num(model_.usedBlocks()));
    for (int u = 0; u < kUserNumbers; ++u)
      if (isUserNumberUsed(ds_, u) != model_.userNumberUsed(u))
        differ("user number " + num(u) + (model_.userNumberUsed(u) ? " free" : " used") +
               " in the image, not in the model");
  }

  DiskStream& ds_;
  const Model& model_;
  std::vector<int16_t>& inodeOf_;
  std::string diff_;
};

std::string alignRight(int width, const std::string& item) {
  int blanks = width - static_cast<int>(item.size());
  return std::string(blanks > 0 ? blanks : 0, ' ') + item;
}

std::string rightsText(uint16_t rights) {
  std::string s;
  for (int k = 1; k <= 9; ++k) {
    s.push_back((rights >> (9 - k)) & 1 ? "rwx"[(k - 1) % 3] : '-');
    if (k % 3 == 0) s.push_back(' ');
  }
  return s;
}

std::string ownerName(const Model& model, int16_t owner) {
  const auto& users = model.usersTable();
  for (const auto& row : users)
    if (row.first == owner) return row.second;
  return users.empty() ? std::string() : users.front().second;
}

}  // namespace

ImageSnapshot::ImageSnapshot(const std::string& path)
    : DiskStream(con_), con_(in_, out_, err_), bytes_(readWholeFile(path)) {}

bool ImageSnapshot::readAt(int64_t offset, uint8_t* buf, std::size_t n) {
  if (offset < 0 || static_cast<std::size_t>(offset) + n > bytes_.size()) return false;
  std::memcpy(buf, bytes_.data() + offset, n);
  return true;
}

bool ImageSnapshot::writeAt(int64_t, const uint8_t*, std::size_t) { return false; }

std::vector<std::string> imageProblems(ImageSnapshot& image) {
  CheckReport report = checkImage(image);
  if (!report.readable) return {"the checker can not read the image: " + report.failure};
  return report.problems;
}

std::string compareWithModel(ImageSnapshot& image, const Model& model,
                             std::vector<int16_t>& inodeOf) {
  image.loadLayout();
  return Comparison(image, model, inodeOf).run();
}

std::string expectedListing(const Model& model, const std::vector<int16_t>& inodeOf,
                            const Path& path, bool longForm) {
  std::string name = path.last();
  std::string label = path.text == "/" ? "/.." : name;
  std::string out = "The folder \"" + name + "\" content:\n\n" + label +
                    alignRight(20 - static_cast<int>(label.size()), "i-node") + "\n";
  std::vector<Entry> folders, files;
  for (const Entry& e : model.nodes()[model.resolveWhole(path)].entries)
    (model.nodes()[e.node].folder ? folders : files).push_back(e);
  auto byName = [](const Entry& a, const Entry& b) { return a.name < b.name; };
  std::stable_sort(folders.begin(), folders.end(), byName);
  std::stable_sort(files.begin(), files.end(), byName);
  auto rows = [&](const std::vector<Entry>& items, const char* mark, const char* lastMark) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Node& n = model.nodes()[items[i].node];
      out += std::string(" ") + (i + 1 == items.size() ? lastMark : mark) + " " + items[i].name +
             alignRight(15 - static_cast<int>(items[i].name.size()),
                        std::to_string(inodeOf[items[i].node]));
      if (longForm) {
        std::string rights = rightsText(n.rights);
        std::string owner = ownerName(model, n.owner);
        out += alignRight(7, rights.substr(0, 1)) + rights.substr(1) +
               alignRight(10 - static_cast<int>(owner.size()), owner);
      }
      out += "\n";
    }
  };
  rows(folders, "├", files.empty() ? "└" : "├");
  rows(files, "╟", "╚");
  return out + "\n";
}

}  // namespace fs5::soak
