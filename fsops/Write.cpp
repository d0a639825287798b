#include "fsops/Write.h"

#include <set>
#include <string>

#include "fsops/Content.h"
#include "fsops/Lookup.h"
#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

constexpr const char* ROOT_NOT_FILE = "This is a \"/\" folder, not a file.";

void reportNotErased(Console& con, int index, int block, const std::string& name) {
  con.errorPart("The datablock with the index: " + std::to_string(index) +
                " in the list of the file \"" + name + "\" \n(number: " + std::to_string(block) +
                ") was not deleted.\nThe file was not erased.");
}

// Reads characters up to Escape or the end of input into `typed`; false when the file would
// overflow (the rest of the typing is then read and dropped).
bool collectTyping(Console& con, std::string& typed) {
  for (;;) {
    int c = con.readChar();
    if (c == KEY_ESCAPE || c == END_OF_INPUT) return true;
    if (typed.size() + 1 >= static_cast<std::size_t>(MAX_FILE_BYTES)) break;
    typed.push_back(static_cast<char>(c));
  }
  con.error("The file is full");
  for (int c = con.readChar(); c != KEY_ESCAPE && c != END_OF_INPUT;) c = con.readChar();
  return false;
}

// True when the erase would free every datablock the file lists after its first: each one in
// use and listed once. Reads only.
bool listsFreeableBlocks(DiskStream& ds, const Inode& node) {
  std::set<int16_t> seen;
  for (int k = 1; k < node.getBlockCount(); ++k) {
    int16_t block = node.getBlock(k);
    if (!isBlockUsed(ds, block) || !seen.insert(block).second) return false;
  }
  return true;
}

}  // namespace

int16_t eraseFile(DiskStream& ds, bool verbose, const Handle& file) {
  if (!isUsableFile(ds.console(), file, ROOT_NOT_FILE)) return -1;
  Inode node = file.node;
  const std::string& name = file.name;
  DataBlock first;
  first.setBlockIndex(node.getBlock(0));
  first.write(ds);
  // The i-node stops listing the other datablocks before they are given back.
  Inode erased = node;
  while (erased.getBlockCount() > 1) erased.removeLastBlock();
  erased.write(ds);
  for (int k = node.getBlockCount() - 1; k >= 1; --k) {
    int16_t block = node.getBlock(k);
    if (freeBlock(ds, block) < 0) {
      reportNotErased(ds.console(), k, block, name);
      node.write(ds);  // lists again the datablocks not given back
      return -1;
    }
    node.removeLastBlock();
  }
  if (verbose) ds.console().line("Erasing the file \"" + name + "\"");
  return 0;
}

int16_t eraseFile(DiskStream& ds, bool verbose, std::string_view path) {
  return eraseFile(ds, verbose, lookup(ds, true, path));
}

int16_t writeFile(DiskStream& ds, const Handle& file) {
  Console& con = ds.console();
  if (!isUsableFile(con, file, ROOT_NOT_FILE)) return -1;
  // A datablock the erase could not free: the erase fails now, as it always has.
  if (!listsFreeableBlocks(ds, file.node)) return eraseFile(ds, true, file);
  con.line("Erasing the file \"" + file.name + "\"");
  con.line("Press \"Esc\", then \"Enter\" to finish your input and save the file.");
  con.line("Input the data here:");
  std::string typed;
  bool fits = collectTyping(con, typed);
  // The typing was a wait: only the path crosses it. The file is looked up again, then
  // erased and filled in one go.
  Handle again = lookup(ds, true, file.path);
  if (!fits) {
    eraseFile(ds, false, again);
    return -1;
  }
  StoreResult stored = storeContent(ds, again, typed);
  if (stored == StoreResult::NO_DATABLOCKS) con.error("The file was not saved.");
  return stored == StoreResult::STORED ? 0 : -1;
}

}  // namespace fs5
