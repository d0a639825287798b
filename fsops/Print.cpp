#include "fsops/Print.h"

#include <string>

#include "fsops/Content.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "storage/DataBlock.h"
#include "storage/Inode.h"

namespace fs5 {

namespace {

// Prints one datablock's bytes up to the end mark; true when the end mark was met.
bool printBlock(Console& con, const DataBlock& block) {
  std::string text;
  bool met = appendUpToEndMark(block, text);
  con.print(met ? text + "\n\n" : text);
  return met;
}

}  // namespace

int16_t printFile(DiskStream& ds, const Handle& file) {
  Console& con = ds.console();
  if (!isUsableFile(con, file, "This is a \"/\" folder, not a file")) return -1;
  const Inode& node = file.node;
  const std::string& name = file.name;
  con.line("This is the file \"" + name + "\" content:");
  for (int b = 0; b < node.getBlockCount(); ++b) {
    DataBlock block;
    if (block.read(ds, node.getBlock(b)) < 0) return -1;
    if (printBlock(con, block)) return 0;
  }
  return 0;
}

}  // namespace fs5
