// The three allocation maps: one byte per i-node, datablock and user number; 0 is free, any
// other value used. Allocation is first-fit from the lowest number, straight on the image.
// A free i-node's record and a free datablock are all zero bytes: freeing zeroes them and
// allocation checks it. Every operation prints its failures to standard error and returns -1.
#ifndef FS5_STORAGE_ALLOCMAPS_H_
#define FS5_STORAGE_ALLOCMAPS_H_

#include <cstdint>

#include "storage/DiskStream.h"

namespace fs5 {

// The lowest free i-node number, now marked used; -1 with "There are no free i-node blocks."
// or, when the lowest free record is not all zero,
// "Free blocks list failure. This i-node block is not free.".
int16_t allocInode(DiskStream& ds);
// The lowest free datablock index, now marked used; -1 with "There are no free datablocks."
// or "Free blocks list failure. This datablock is not free.".
int16_t allocBlock(DiskStream& ds);
// Marks i-node n free and zeroes its record: 0, or -1 with
// "This entry in file table is already empty." or "The i-node number <n> is out of range.".
int16_t freeInode(DiskStream& ds, int n);
// Marks datablock k free and zeroes it: 0, or -1 with "This datablock is already free." or
// "The datablock index <k> is out of range.".
int16_t freeBlock(DiskStream& ds, int k);
// The lowest free user number from 1 up, now marked used; -1 with
// "There are no free user numbers.".
int16_t allocUserNumber(DiskStream& ds);
// Marks user number u free: 0, or -1 with "This user number in  table is already empty." or
// "The user number <u> is out of range.".
int16_t freeUserNumber(DiskStream& ds, int u);

// True when map byte n of the i-node (block, user) map is non-zero; false outside the map.
bool isInodeUsed(DiskStream& ds, int n);
bool isBlockUsed(DiskStream& ds, int k);
bool isUserNumberUsed(DiskStream& ds, int u);
// Marks user number u used (formatting does this for the superuser). False outside the map.
bool markUserNumberUsed(DiskStream& ds, int u);

}  // namespace fs5

#endif  // FS5_STORAGE_ALLOCMAPS_H_
