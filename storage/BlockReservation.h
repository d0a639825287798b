// Datablocks taken from the map for content that is not yet listed by any i-node. They are
// given back when the reservation ends, unless it is committed, so a write or copy that runs
// out of datablocks halfway leaves nothing allocated that no i-node lists.
#ifndef FS5_STORAGE_BLOCKRESERVATION_H_
#define FS5_STORAGE_BLOCKRESERVATION_H_

#include <cstdint>
#include <vector>

#include "storage/DiskStream.h"

namespace fs5 {

class BlockReservation {
 public:
  explicit BlockReservation(DiskStream& ds) : ds_(ds) {}
  ~BlockReservation();
  BlockReservation(const BlockReservation&) = delete;
  BlockReservation& operator=(const BlockReservation&) = delete;

  // Takes `count` datablocks first-fit; false when the map runs out (the allocator's line is
  // printed; what was taken is still given back at the end).
  bool take(int count);
  const std::vector<int16_t>& blocks() const { return taken_; }
  void commit() { committed_ = true; }

 private:
  DiskStream& ds_;
  std::vector<int16_t> taken_;
  bool committed_ = false;
};

}  // namespace fs5

#endif  // FS5_STORAGE_BLOCKRESERVATION_H_
