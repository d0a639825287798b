// What the three fuzzers share: a scratch image, whole sessions run in-process, and the
// checker's judgement. A fuzzer that finds a broken promise prints it and aborts.
#ifndef FS5_FUZZ_HARNESS_H_
#define FS5_FUZZ_HARNESS_H_

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "shell/Program.h"
#include "tools/fs5ck/Checker.h"

namespace fs5::fuzz {

inline std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The scratch image of this fuzzer process.
inline std::string image() {
  static const std::string path = "/tmp/fs5fuzz." + std::to_string(getpid()) + ".fs5";
  return path;
}

// Runs the whole program over `input` on the scratch image; returns the exit status.
inline int runSession(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Console con(in, out, out);
  return runProgram(con, image());
}

// An image formatted and then prepared by `input` (root logged in), made once.
inline std::vector<uint8_t> preparedImage(const std::string& input) {
  std::remove(image().c_str());
  if (runSession("secret1\n\nroot\nsecret1\n" + input) != 0) std::abort();
  return readFile(image());
}

inline void fail(const std::string& what) {
  std::fprintf(stderr, "fs5 fuzzer: %s\n", what.c_str());
  std::abort();
}

}  // namespace fs5::fuzz

#endif  // FS5_FUZZ_HARNESS_H_
