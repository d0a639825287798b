// A file's content as bytes: reading what a file holds before its end mark, and storing given
// bytes as a file's new content, whole: from a program, or the typing the editor collected.
#ifndef FS5_FSOPS_CONTENT_H_
#define FS5_FSOPS_CONTENT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "storage/DataBlock.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5 {

// The longest content a file can hold: its 100 datablocks less the end mark.
inline constexpr int MAX_CONTENT_BYTES = MAX_FILE_BYTES - 1;

// The datablocks a file needs for `length` bytes of content and the end mark (at least 1).
int blocksForContent(std::size_t length);

// Reads the content of the file `file` (an i-node just read) into `bytes`: its datablocks'
// bytes before the first end mark. A file with no end mark (made, never written) holds its
// bytes without the zero bytes that end its last datablock, so a new file reads as empty.
// Returns 0, or -1 (bytes emptied) when a listed datablock can not be read or the i-node is
// not a file; the storage layer's line is printed on standard error.
int16_t readContent(DiskStream& ds, const Inode& file, std::string& bytes);
// Appends one datablock's bytes before the end mark to `bytes`; true when the end mark was met.
bool appendUpToEndMark(const DataBlock& block, std::string& bytes);

// What storeContent did.
enum class StoreResult {
  STORED,         // the file holds the bytes
  NOT_ERASED,     // the erase failed (its lines are printed): nothing stored
  NO_DATABLOCKS,  // the allocator's line is printed; the ones taken are given back and the
                  // file stays erased
};

// Gives the found file the content `bytes`, which the caller has checked: no end mark in it
// and at most MAX_CONTENT_BYTES long. The file is erased (eraseFile, quiet) and then gets the
// bytes, the end mark and zero bytes; its first datablock stays its first, the others come
// first-fit from the map. Owner and rights stay. The editor behind "vi -i" saves the typing
// with it too.
StoreResult storeContent(DiskStream& ds, const Handle& file, std::string_view bytes);

}  // namespace fs5

#endif  // FS5_FSOPS_CONTENT_H_
