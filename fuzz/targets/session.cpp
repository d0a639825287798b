// libFuzzer target: console input typed after logging in as root (see fuzz/Harness.h).
#include <cstdio>
#include <cstdlib>

#include "fuzz/Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fs5::fuzz::SessionHarness harness;
  std::string fault = harness.check(data, size);
  if (fault.empty()) return 0;
  std::fprintf(stderr, "fs5 session fuzzer: %s\n", fault.c_str());
  std::abort();
}
