#include "storage/BlockReservation.h"

#include "storage/AllocMaps.h"

namespace fs5 {

BlockReservation::~BlockReservation() {
  if (committed_) return;
  for (int16_t k : taken_) freeBlock(ds_, k);
}

bool BlockReservation::take(int count) {
  for (int i = 0; i < count; ++i) {
    int16_t k = allocBlock(ds_);
    if (k < 0) return false;
    taken_.push_back(k);
  }
  return true;
}

}  // namespace fs5
