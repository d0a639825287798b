#include <algorithm>
#include <cstring>

#include "storage/AccountRecord.h"
#include "storage/FolderBlock.h"
#include "tools/fs5ck/ImageRepair.h"
#include "tools/fs5ck/Texts.h"

namespace fs5 {

namespace {

constexpr const char* kLostFound = "lost+found";

}  // namespace

void ImageRepair::announce(int folder, const std::string& line) {
  if (!all_) return;
  say(line);
  changed_[folder] = true;
}

// Walks the folder n, reached at `path` from `parent` (the root is its own parent) and
// `depth` levels below the root, deciding the entries it keeps. A folder `moved` into
// /lost+found gets its new ".." without a line of its own.
void ImageRepair::walk(int n, int parent, const std::string& path, int depth, bool moved) {
  walked_[n] = true;
  pathOf_[n] = path;
  FolderScan scan = readFolder(n);
  if (moved || made_[n]) changed_[n] = true;
  if (!moved && !made_[n] && scan.dotDot != parent)
    announce(n, repairLine(Repair::kDotDotSet, {path, decimal(parent)}));
  if (!made_[n] && scan.dot != n) announce(n, repairLine(Repair::kDotSet, {path, decimal(n)}));
  entries_[n] = {{"..", parent}, {".", n}};
  std::set<std::string> names;
  for (const RepairEntry& e : scan.others) {
    if (!follows(e, names, path, depth + 1)) {
      takeOut(n, path, e);
      continue;
    }
    names.insert(e.name);
    entries_[n].push_back(e);
    reach(e.inode);
    if (mayChange("i-node", n)) allow("i-node", e.inode);
    if (isFolder(e.inode)) walk(e.inode, n, childPath(path, e.name), depth + 1, false);
  }
}

FolderScan ImageRepair::readFolder(int n) {
  FolderScan scan;
  std::vector<int16_t> list = listOf(n);
  for (std::size_t b = 0; b < list.size(); ++b) {
    if (!inArea(list[b])) continue;
    FolderBlock block;
    block.decode(blockBytes(list[b]).data());
    for (int slot = 0; slot < block.getCount(); ++slot) {
      RepairEntry e{block.getEntryName(slot), block.getEntryInode(slot)};
      if (b == 0 && slot == 0 && e.name == "..")
        scan.dotDot = e.inode;
      else if (b == 0 && slot == 1 && e.name == ".")
        scan.dot = e.inode;
      else
        scan.others.push_back(e);
    }
  }
  return scan;
}

// True when the entry stays: a sound name not yet used in its folder, naming an i-node with
// a record that no entry has reached, not deeper than 8 levels, and no folder in /etc/passwd.
// Folders on the entry's own path have been reached, so a cycle is never followed.
bool ImageRepair::follows(const RepairEntry& e, const std::set<std::string>& names,
                          const std::string& folderPath, int depth) const {
  const std::string& name = e.name;
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      names.count(name) > 0)
    return false;
  int m = e.inode;
  if (!isInodeNumber(m) || !hasRecord_[m] || reached_[m] || depth > MAX_DEPTH) return false;
  return folderPath != ACCOUNT_FOLDER || !isFolder(m);
}

// The i-node of an entry taken out stays in use when it has a record (-y reconnects it if no
// other entry reaches it); under -p, where nothing is taken out, it keeps its map byte.
void ImageRepair::takeOut(int folder, const std::string& path, const RepairEntry& e) {
  if (isInodeNumber(e.inode)) {
    namedInode_[e.inode] = true;
    if (all_ && hasRecord_[e.inode]) keep_[e.inode] = true;
  }
  announce(folder, repairLine(Repair::kEntryTakenOut, {path, e.name}));
}

// The folder `name` in the walked folder `parent`, made when missing; an entry of that name
// that is not a folder is taken out first (its i-node is reconnected later). -1 when no
// i-node is free.
int ImageRepair::ensureFolder(int parent, const std::string& name) {
  std::vector<RepairEntry>& list = entries_[parent];
  std::string path = childPath(pathOf_[parent], name);
  auto it = std::find_if(list.begin() + 2, list.end(),
                         [&](const RepairEntry& e) { return e.name == name; });
  if (it != list.end()) {
    if (isFolder(it->inode)) return it->inode;
    reached_[it->inode] = false;
    list.erase(it);
    announce(parent, repairLine(Repair::kNotFolderTakenOut, {path}));
  }
  int m = takeInode();
  if (m < 0) return -1;
  makeRecord(m, true);
  reach(m);
  walked_[m] = changed_[m] = true;
  pathOf_[m] = path;
  entries_[m] = {{"..", parent}, {".", m}};
  list.push_back({name, m});
  announce(parent, repairLine(Repair::kFolderMade, {path}));
  return m;
}

// The folder `name` in the walked folder `parent`, or -1.
int ImageRepair::findFolder(int parent, const std::string& name) const {
  if (!walked_[parent]) return -1;
  for (std::size_t i = 2; i < entries_[parent].size(); ++i) {
    const RepairEntry& e = entries_[parent][i];
    if (e.name == name) return isFolder(e.inode) && walked_[e.inode] ? e.inode : -1;
  }
  return -1;
}

// Enters every used i-node that no entry reaches into /lost+found as "#<n>". Orphan folders
// naming the orphan are climbed first, so a lost subtree is entered by its top.
void ImageRepair::reconnectOrphans() {
  std::vector<std::vector<int>> namers(layout_.inodeCount());
  for (int f = 0; f < layout_.inodeCount(); ++f) {
    if (!isOrphan(f) || !isFolder(f)) continue;
    for (const RepairEntry& e : readFolder(f).others)
      if (isInodeNumber(e.inode) && e.inode != f) namers[e.inode].push_back(f);
  }
  for (int m = nextOrphan(); m >= 0; m = nextOrphan()) {
    m = topOfOrphans(m, namers);
    int lostFound = ensureFolder(0, kLostFound);
    if (lostFound < 0) return;
    std::string name = freeName(lostFound, "#" + decimal(m));
    std::string path = childPath(pathOf_[lostFound], name);
    entries_[lostFound].push_back({name, m});
    changed_[lostFound] = true;
    reach(m);
    say(repairLine(Repair::kReconnected, {decimal(m), path}));
    if (isFolder(m)) walk(m, lostFound, path, 2, true);
  }
}

// Keeps every stray datablock as the content of a new file /lost+found/#b<k> of the
// superuser; with no i-node free (or no /lost+found) the datablock is left as it is.
void ImageRepair::keepStrayBlocks() {
  for (int k = 0; k < layout_.blockCount(); ++k) {
    if (!stray_[k]) continue;
    int m = takeInode();
    int lostFound = m < 0 ? -1 : ensureFolder(0, kLostFound);
    m = takeInode();
    if (lostFound < 0 || m < 0) return;
    makeRecord(m, false);
    setList(m, {static_cast<int16_t>(k)});
    lister_[k] = m;
    stray_[k] = false;
    reach(m);
    std::string name = freeName(lostFound, "#b" + decimal(k));
    entries_[lostFound].push_back({name, m});
    changed_[lostFound] = true;
    say(repairLine(Repair::kBlockKept, {decimal(k), childPath(pathOf_[lostFound], name)}));
  }
}

int ImageRepair::nextOrphan() const {
  for (int n = 1; n < layout_.inodeCount(); ++n)
    if (isOrphan(n)) return n;
  return -1;
}

int ImageRepair::topOfOrphans(int m, const std::vector<std::vector<int>>& namers) const {
  std::vector<bool> seen(layout_.inodeCount(), false);
  seen[m] = true;
  for (bool climbed = true; climbed;) {
    climbed = false;
    for (int f : namers[m]) {
      if (!isOrphan(f) || seen[f]) continue;
      m = f;
      seen[f] = climbed = true;
      break;
    }
  }
  return m;
}

// `base`, or "<base>.1", "<base>.2"... when the folder already holds that name.
std::string ImageRepair::freeName(int folder, const std::string& base) const {
  const std::vector<RepairEntry>& list = entries_[folder];
  std::string name = base;
  for (int i = 1;
       std::any_of(list.begin(), list.end(), [&](const RepairEntry& e) { return e.name == name; });
       ++i)
    name = base + "." + decimal(i);
  return name;
}

// Writes the folder's entries three to a datablock, in order: datablocks left over are given
// back, missing ones added, and only those whose 98 bytes change are written.
void ImageRepair::layOutFolder(int n) {
  const std::vector<RepairEntry>& entries = entries_[n];
  const std::string& path = pathOf_[n];
  std::size_t needed = (entries.size() + ENTRIES_PER_BLOCK - 1) / ENTRIES_PER_BLOCK;
  std::vector<int16_t> list = listOf(n), old = list;
  for (; list.size() > needed; list.pop_back()) {
    blockSaid_[list.back()] = true;
    say(repairLine(Repair::kBlockGivenBack, {path, decimal(list.back())}));
  }
  while (list.size() < needed) {
    int k = takeBlock(n, BlockBytes{});
    if (k < 0) return;
    list.push_back(static_cast<int16_t>(k));
    if (!made_[n]) say(repairLine(Repair::kBlockAdded, {path, decimal(k)}));
  }
  if (list != old) setList(n, list);
  bool rewritten = false;
  for (std::size_t b = 0; b < needed; ++b) {
    FolderBlock block;
    std::size_t end = std::min(entries.size(), (b + 1) * ENTRIES_PER_BLOCK);
    for (std::size_t i = b * ENTRIES_PER_BLOCK; i < end; ++i)
      block.addEntry(ds_.console(), static_cast<int16_t>(entries[i].inode), entries[i].name);
    BlockBytes bytes = blockBytes(list[b]);
    uint8_t laidOut[FOLDER_BLOCK_SIZE];
    block.encode(laidOut);
    if (std::memcmp(laidOut, bytes.data(), sizeof laidOut) == 0) continue;
    std::memcpy(bytes.data(), laidOut, sizeof laidOut);
    pending_[list[b]] = bytes;
    rewritten = true;
  }
  if (rewritten && !changed_[n]) say(repairLine(Repair::kBlocksRewritten, {path}));
}

}  // namespace fs5
