#include "fsops/Write.h"

#include <string>
#include <vector>

#include "fsops/Lookup.h"
#include "storage/AllocMaps.h"
#include "storage/BlockReservation.h"
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
// overflow (the rest of the typing is then read and dropped) or when Ctrl-C abandoned the
// typing (which is said on one line).
bool collectTyping(Console& con, std::string& typed) {
  for (;;) {
    int c = con.readChar();
    if (c == INTERRUPTED) {
      con.line("The typing was abandoned; the file is unchanged.");
      return false;
    }
    if (c == KEY_ESCAPE || c == END_OF_INPUT) return true;
    if (typed.size() + 1 >= static_cast<std::size_t>(MAX_FILE_BYTES)) break;
    typed.push_back(static_cast<char>(c));
  }
  con.error("The file is full");
  for (int c = con.readChar(); c != KEY_ESCAPE && c != END_OF_INPUT;) c = con.readChar();
  return false;
}

// Stores `content` in the erased file n: its first datablock, then as many more as the
// content needs. False after "The file was not saved." when the datablocks run out.
bool storeContent(DiskStream& ds, int16_t n, const std::string& content) {
  Inode node;
  node.read(ds, n);
  int blocksNeeded = static_cast<int>(content.size() + BLOCK_SIZE - 1) / BLOCK_SIZE;
  BlockReservation taken(ds);
  if (!taken.take(blocksNeeded - 1)) {
    ds.console().error("The file was not saved.");
    return false;
  }
  taken.commit();
  for (int16_t k : taken.blocks()) node.appendBlock(k);
  for (int b = 0; b < blocksNeeded; ++b) {
    DataBlock block;
    block.setBlockIndex(node.getBlock(b));
    std::size_t from = static_cast<std::size_t>(b) * BLOCK_SIZE;
    std::size_t count = std::min<std::size_t>(BLOCK_SIZE, content.size() - from);
    for (std::size_t i = 0; i < count; ++i) block.set(static_cast<int>(i), content[from + i]);
    block.write(ds);
  }
  if (blocksNeeded > 1) node.write(ds);
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
  if (eraseFile(ds, true, file) < 0) return -1;
  Console& con = ds.console();
  con.line("Press \"Esc\", then \"Enter\" to finish your input and save the file.");
  con.line("Input the data here:");
  std::string typed;
  if (!collectTyping(con, typed)) return -1;
  typed.push_back(static_cast<char>(END_MARK));
  // The typing was a wait: the file is looked up again and emptied again before it is filled.
  Handle again = lookup(ds, true, file.path);
  if (eraseFile(ds, false, again) < 0) return -1;
  return storeContent(ds, again.number, typed) ? 0 : -1;
}

}  // namespace fs5
