#include "storage/AllocMaps.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "storage/Coding.h"

namespace fs5 {

namespace {

// One map of the image: where it starts, how many numbers it holds, and the size and start
// of the record each number owns (none for user numbers).
struct MapRegion {
  int64_t start;
  int count;
  int64_t recordStart;
  int recordSize;
};

MapRegion inodeMap(const DiskLayout& l) {
  return {l.inodeMapStart, l.inodeCount(), l.inodeTableStart, INODE_SIZE};
}
MapRegion blockMap(const DiskLayout& l) {
  return {l.blockMapStart, l.blockCount(), l.blockAreaStart, BLOCK_SIZE};
}
MapRegion userMap(const DiskLayout& l) { return {l.userMapStart, l.userCount(), 0, 0}; }

bool recordIsZero(DiskStream& ds, const MapRegion& map, int n) {
  std::vector<uint8_t> record(map.recordSize);
  ds.read(map.recordStart + int64_t{n} * map.recordSize, record.data(), record.size());
  return allZero(record.data(), record.size());
}

// Scans the map from `first` for a 0 byte; -1 when there is none.
int firstFree(DiskStream& ds, const MapRegion& map, int first) {
  if (map.count <= first) return -1;
  std::vector<uint8_t> bytes(map.count);
  if (!ds.read(map.start, bytes.data(), bytes.size())) return -1;
  for (int n = first; n < map.count; ++n)
    if (bytes[n] == 0) return n;
  return -1;
}

bool setByte(DiskStream& ds, const MapRegion& map, int n, uint8_t value) {
  return ds.write(map.start + n, &value, 1);
}

int16_t allocate(DiskStream& ds, const MapRegion& map, int first, const char* noneFree,
                 const char* notZero) {
  int n = firstFree(ds, map, first);
  if (n < 0) {
    ds.console().error(noneFree);
    return -1;
  }
  if (map.recordSize > 0 && !recordIsZero(ds, map, n)) {
    ds.console().error(notZero);
    return -1;
  }
  if (!setByte(ds, map, n, 1)) return -1;
  return static_cast<int16_t>(n);
}

bool byteIsUsed(DiskStream& ds, const MapRegion& map, int n) {
  if (n < 0 || n >= map.count) return false;
  uint8_t b = 0;
  ds.read(map.start + n, &b, 1);
  return b != 0;
}

int16_t release(DiskStream& ds, const MapRegion& map, int n, const char* what,
                const char* alreadyFree) {
  if (n < 0 || n >= map.count) {
    reportOutOfRange(ds.console(), what, n);
    return -1;
  }
  if (!byteIsUsed(ds, map, n)) {
    ds.console().error(alreadyFree);
    return -1;
  }
  if (map.recordSize > 0) {
    std::vector<uint8_t> zeros(map.recordSize, 0);
    if (!ds.write(map.recordStart + int64_t{n} * map.recordSize, zeros.data(), zeros.size()))
      return -1;
  }
  return setByte(ds, map, n, 0) ? 0 : -1;
}

}  // namespace

int16_t allocInode(DiskStream& ds) {
  return allocate(ds, inodeMap(ds.layout()), 0, "There are no free i-node blocks.",
                  "Free blocks list failure. This i-node block is not free.");
}

int16_t allocBlock(DiskStream& ds) {
  return allocate(ds, blockMap(ds.layout()), 0, "There are no free datablocks.",
                  "Free blocks list failure. This datablock is not free.");
}

int16_t allocUserNumber(DiskStream& ds) {
  return allocate(ds, userMap(ds.layout()), 1, "There are no free user numbers.", "");
}

int16_t freeInode(DiskStream& ds, int n) {
  return release(ds, inodeMap(ds.layout()), n, "i-node number",
                 "This entry in file table is already empty.");
}

int16_t freeBlock(DiskStream& ds, int k) {
  return release(ds, blockMap(ds.layout()), k, "datablock index",
                 "This datablock is already free.");
}

int16_t freeUserNumber(DiskStream& ds, int u) {
  return release(ds, userMap(ds.layout()), u, "user number",
                 "This user number in  table is already empty.");
}

bool isInodeUsed(DiskStream& ds, int n) { return byteIsUsed(ds, inodeMap(ds.layout()), n); }
bool isBlockUsed(DiskStream& ds, int k) { return byteIsUsed(ds, blockMap(ds.layout()), k); }
bool isUserNumberUsed(DiskStream& ds, int u) { return byteIsUsed(ds, userMap(ds.layout()), u); }

bool markUserNumberUsed(DiskStream& ds, int u) {
  MapRegion map = userMap(ds.layout());
  if (u < 0 || u >= map.count) return false;
  return setByte(ds, map, u, 1);
}

}  // namespace fs5
