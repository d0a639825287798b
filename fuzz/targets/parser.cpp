// libFuzzer target: path texts and command lines (see fuzz/ParserHarness.h).
#include <cstdio>
#include <cstdlib>

#include "fuzz/ParserHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string fault = fs5::fuzz::checkParser(data, size);
  if (fault.empty()) return 0;
  std::fprintf(stderr, "fs5 parser fuzzer: %s\n", fault.c_str());
  std::abort();
}
