// libFuzzer target: a damaged image under a fixed script of commands (see fuzz/Harness.h).
// With FS5_FUZZ_SEED_DIR set, it first writes the input that leaves the prepared image as it
// is into that folder as "prepared" (fuzz/run does so for the working corpus).
//
// Its mutator damages whole images: an input shorter than the prepared image's used part is
// first filled out with the prepared bytes, then a short window of it is mutated, in the maps,
// the i-node records in use or the datablocks in use, a third of the time each.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "fuzz/Harness.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

fs5::fuzz::ImageHarness& harness() {
  static fs5::fuzz::ImageHarness h;
  return h;
}

const std::vector<uint8_t>& prepared() {
  static const std::vector<uint8_t> seed = harness().seed();
  return seed;
}

// Offsets after the header: the maps, the i-node records in use, the datablocks in use.
constexpr size_t kMapsEnd = 1200;
constexpr size_t kTableEnd = 22000;
constexpr size_t kWindow = 32;

size_t windowStart(std::minstd_rand& random, size_t size) {
  size_t region = random() % 3;
  size_t from = region == 0 ? 0 : region == 1 ? kMapsEnd : kTableEnd;
  size_t to = region == 0 ? kMapsEnd : region == 1 ? kMapsEnd + 40 * fs5::INODE_SIZE : size;
  to = std::min(to, size);
  if (from >= to) return random() % size;
  return from + random() % (to - from);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* dir = std::getenv("FS5_FUZZ_SEED_DIR");
  if (dir != nullptr) fs5::fuzz::writeFile(std::string(dir) + "/prepared", prepared());
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  const std::vector<uint8_t>& full = prepared();
  if (size < full.size() && maxSize >= full.size()) {
    std::copy(full.begin() + size, full.end(), data + size);
    size = full.size();
  }
  if (size == 0) return LLVMFuzzerMutate(data, size, maxSize);
  std::minstd_rand random(seed);
  size_t at = windowStart(random, size);
  size_t window = std::min(kWindow, size - at);
  LLVMFuzzerMutate(data + at, window, window);
  return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string fault = harness().check(data, size);
  if (fault.empty()) return 0;
  std::fprintf(stderr, "fs5 image fuzzer: %s\n", fault.c_str());
  std::abort();
}
