// libFuzzer target: a damaged image under a fixed script of commands (see fuzz/Harness.h).
// With FS5_FUZZ_SEED_DIR set, it first writes the input that leaves the prepared image as it
// is into that folder as "prepared" (fuzz/run does so for the working corpus).
#include <cstdio>
#include <cstdlib>

#include "fuzz/Harness.h"

namespace {

fs5::fuzz::ImageHarness& harness() {
  static fs5::fuzz::ImageHarness h;
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* dir = std::getenv("FS5_FUZZ_SEED_DIR");
  if (dir != nullptr) fs5::fuzz::writeFile(std::string(dir) + "/prepared", harness().seed());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string fault = harness().check(data, size);
  if (fault.empty()) return 0;
  std::fprintf(stderr, "fs5 image fuzzer: %s\n", fault.c_str());
  std::abort();
}
