// What the three fuzzers share: a scratch image, whole sessions run in-process through the
// tests' support, and the checker's judgement. A fuzzer that finds a broken promise prints it
// and aborts.
#ifndef FS5_FUZZ_HARNESS_H_
#define FS5_FUZZ_HARNESS_H_

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace fs5::fuzz {

using test::checkImageProblems;
using test::readBytes;
using test::writeBytes;

// The scratch image of this fuzzer process.
inline std::string image() {
  static const std::string path = "/tmp/fs5fuzz." + std::to_string(getpid()) + ".fs5";
  return path;
}

// Runs the whole program over `input` on the scratch image; returns the exit status.
inline int runSession(const std::string& input) { return test::runSession(image(), input); }

// A standard image prepared by `input` (root logged in), made once.
inline std::vector<uint8_t> preparedImage(const std::string& input) {
  writeBytes(image(), test::standardImage());
  if (runSession("root\nsecret1\n" + input) != 0) std::abort();
  return readBytes(image());
}

inline void fail(const std::string& what) {
  std::fprintf(stderr, "fs5 fuzzer: %s\n", what.c_str());
  std::abort();
}

}  // namespace fs5::fuzz

#endif  // FS5_FUZZ_HARNESS_H_
