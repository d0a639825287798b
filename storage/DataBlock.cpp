#include "storage/DataBlock.h"

namespace fs5 {

int16_t DataBlock::read(DiskStream& ds, int k) {
  data_.fill(0);
  auto offset = ds.layout().blockOffset(k);
  if (!offset) reportOutOfRange(ds.console(), "datablock index", k);
  bool ok = offset && ds.read(*offset, data_.data(), data_.size());
  blockIndex_ = static_cast<int16_t>(ok ? k : -1);
  return blockIndex_;
}

bool DataBlock::write(DiskStream& ds) {
  auto offset = ds.layout().blockOffset(blockIndex_);
  bool ok = offset && ds.write(*offset, data_.data(), data_.size());
  clear();
  return ok;
}

}  // namespace fs5
