// map: the image's regions, then its i-nodes and datablocks as a grid of one cell each, marked
// by what uses them as the tree shows it.
#include <array>
#include <deque>
#include <iomanip>
#include <string>
#include <vector>

#include "storage/AccountRecord.h"
#include "storage/AllocMaps.h"
#include "tools/fs5/ImageOps.h"
#include "tools/fs5/Session.h"

namespace fs5 {

namespace {

enum CellKind { CELL_FREE, CELL_FOLDER, CELL_FILE, CELL_ACCOUNT, CELL_LEAKED, CELL_KINDS };

constexpr std::array<char, CELL_KINDS> kMarks = {'.', 'd', 'f', 'a', 'L'};
constexpr std::array<const char*, CELL_KINDS> kKindNames = {"free", "folder", "file", "account",
                                                            "leaked"};
constexpr std::array<const char*, CELL_KINDS> kColours = {"\033[2m", "\033[34m", "\033[32m",
                                                          "\033[33m", "\033[1;31m"};
constexpr const char* kHighlight = "\033[7m";
constexpr const char* kPlain = "\033[0m";
constexpr char HIGHLIGHT_MARK = '#';
constexpr int CELLS_PER_ROW = 50;

struct Cell {
  CellKind kind = CELL_FREE;
  bool highlighted = false;
};

struct Picture {
  std::vector<Cell> inodes;
  std::vector<Cell> blocks;
};

void markBlocks(Picture& p, const Inode& node, CellKind kind, bool highlight) {
  for (int b = 0; b < node.getBlockCount(); ++b) {
    int k = node.getBlock(b);
    if (k < 0 || k >= static_cast<int>(p.blocks.size())) continue;
    if (highlight) {
      p.blocks[k].highlighted = true;
    } else {
      p.blocks[k].kind = kind;
    }
  }
}

// Marks every i-node the tree reaches from the root, and the datablocks each one lists.
void walkTree(DiskStream& ds, Picture& p, int16_t passwd) {
  std::vector<bool> seen(p.inodes.size(), false);
  std::deque<std::pair<int16_t, int16_t>> queue{{0, -1}};
  while (!queue.empty()) {
    auto [n, parent] = queue.front();
    queue.pop_front();
    Inode node;
    if (n < 0 || n >= static_cast<int>(seen.size()) || seen[n] || node.read(ds, n) < 0) continue;
    seen[n] = true;
    if (!node.isFolder() && !node.isFile()) continue;
    CellKind kind = node.isFolder() ? CELL_FOLDER : parent == passwd ? CELL_ACCOUNT : CELL_FILE;
    p.inodes[n].kind = kind;
    markBlocks(p, node, kind, false);
    std::vector<ImageEntry> entries;
    if (node.isFolder()) readFolderEntries(ds, node, entries);
    for (const ImageEntry& entry : entries) queue.emplace_back(entry.inode, n);
  }
}

void markLeaks(DiskStream& ds, Picture& p) {
  for (int n = 0; n < static_cast<int>(p.inodes.size()); ++n)
    if (p.inodes[n].kind == CELL_FREE && isInodeUsed(ds, n)) p.inodes[n].kind = CELL_LEAKED;
  for (int k = 0; k < static_cast<int>(p.blocks.size()); ++k)
    if (p.blocks[k].kind == CELL_FREE && isBlockUsed(ds, k)) p.blocks[k].kind = CELL_LEAKED;
}

void printRegions(std::ostream& out, const std::string& image, const DiskLayout& l) {
  struct Region {
    const char* name;
    int64_t offset;
    int64_t size;
  };
  const Region regions[] = {
      {"header", 0, HEADER_SIZE},
      {"i-node map", l.inodeMapStart, l.inodeCount()},
      {"datablock map", l.blockMapStart, l.blockCount()},
      {"user map", l.userMapStart, l.userCount()},
      {"i-node table", l.inodeTableStart, int64_t{l.inodeCount()} * INODE_SIZE},
      {"datablock area", l.blockAreaStart, int64_t{l.blockCount()} * BLOCK_SIZE},
  };
  out << "Disk image " << image << ": " << l.imageSize() << " bytes\n";
  out << "  region          offset     size\n";
  for (const Region& r : regions)
    out << "  " << std::left << std::setw(14) << r.name << std::right << std::setw(8) << r.offset
        << std::setw(9) << r.size << "\n";
}

void printGrid(std::ostream& out, const char* title, const std::vector<Cell>& cells, bool colour) {
  out << "\n" << title << " (" << cells.size() << "):\n";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i % CELLS_PER_ROW == 0) out << (i == 0 ? "" : "\n") << std::setw(6) << i << " ";
    const Cell& cell = cells[i];
    char mark = kMarks[cell.kind];
    if (colour) {
      out << kColours[cell.kind] << (cell.highlighted ? kHighlight : "") << mark << kPlain;
    } else {
      out << (cell.highlighted ? HIGHLIGHT_MARK : mark);
    }
  }
  out << "\n";
}

void printCounts(std::ostream& out, const char* title, const std::vector<Cell>& cells) {
  std::array<int, CELL_KINDS> counts{};
  for (const Cell& cell : cells) ++counts[cell.kind];
  out << title;
  for (int kind = 0; kind < CELL_KINDS; ++kind)
    out << (kind == 0 ? " " : ", ") << kKindNames[kind] << " " << counts[kind];
  out << "\n";
}

void printLegend(std::ostream& out, bool highlighting) {
  out << "\nLegend:";
  for (int kind = 0; kind < CELL_KINDS; ++kind)
    out << "  " << kMarks[kind] << " " << kKindNames[kind];
  if (highlighting) out << "  " << HIGHLIGHT_MARK << " the object of --path";
  out << "\n";
}

// Highlights the i-node and datablocks of map's --path object; false after its failure line.
bool highlightObject(Session& s, Picture& p) {
  Handle found;
  if (!s.findObject(s.options().mapPath, found)) return false;
  p.inodes[found.number].highlighted = true;
  markBlocks(p, found.node, CELL_FREE, true);
  return true;
}

}  // namespace

int runMap(Session& s) {
  if (!s.open(false)) return s.status();
  s.beginReading();
  DiskStream& ds = s.ds();
  const DiskLayout& layout = ds.layout();
  Picture p{std::vector<Cell>(layout.inodeCount()), std::vector<Cell>(layout.blockCount())};
  PathName passwd;
  passwd.parse(ds.console(), ACCOUNT_FOLDER);
  walkTree(ds, p, lookUpObject(ds, passwd).number);
  markLeaks(ds, p);
  bool highlighting = !s.options().mapPath.empty();
  if (!highlighting || highlightObject(s, p)) {
    bool colour = s.options().colour;
    printRegions(s.out(), s.options().image, layout);
    printGrid(s.out(), "I-nodes", p.inodes, colour);
    printGrid(s.out(), "Datablocks", p.blocks, colour);
    printLegend(s.out(), highlighting);
    printCounts(s.out(), "I-nodes:", p.inodes);
    printCounts(s.out(), "Datablocks:", p.blocks);
  }
  s.endReading();
  return s.status();
}

}  // namespace fs5
