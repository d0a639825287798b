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

Typing readTyping(Console& con, std::string& typed) {
  auto endsTyping = [](int c) { return c == KEY_ESCAPE || c == END_OF_INPUT || c == INTERRUPTED; };
  int c = con.readChar();
  for (; !endsTyping(c); c = con.readChar()) {
    if (typed.size() + 1 >= static_cast<std::size_t>(MAX_FILE_BYTES)) break;
    typed.push_back(static_cast<char>(c));
  }
  Typing ending = Typing::ENDED;
  if (!endsTyping(c)) {
    con.error("The file is full");
    ending = Typing::FULL;
    while (!endsTyping(c)) c = con.readChar();
  }
  if (c != INTERRUPTED) return ending;
  con.line("The typing was abandoned; the file is unchanged.");
  return Typing::ABANDONED;
}

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

bool startWriting(DiskStream& ds, const Handle& file) {
  Console& con = ds.console();
  if (!isUsableFile(con, file, ROOT_NOT_FILE)) return false;
  if (!listsFreeableBlocks(ds, file.node)) {
    eraseFile(ds, true, file);  // fails now on the datablock it can not free, as it always has
    return false;
  }
  con.line("Erasing the file \"" + file.name + "\"");
  con.line("Press \"Esc\", then \"Enter\" to finish your input and save the file.");
  con.line("Input the data here:");
  return true;
}

int16_t saveTyping(DiskStream& ds, const Handle& file, std::string_view typed, bool fits) {
  if (!fits) {
    eraseFile(ds, false, file);
    return -1;
  }
  StoreResult stored = storeContent(ds, file, typed);
  if (stored == StoreResult::NO_DATABLOCKS) ds.console().error("The file was not saved.");
  return stored == StoreResult::STORED ? 0 : -1;
}

int16_t writeFile(DiskStream& ds, const Handle& file) {
  if (!startWriting(ds, file)) return -1;
  std::string typed;
  Typing typing = readTyping(ds.console(), typed);
  if (typing == Typing::ABANDONED) return -1;
  return saveTyping(ds, lookup(ds, true, file.path), typed, typing == Typing::ENDED);
}

}  // namespace fs5
