// A damaged image under a fixed script of commands: after its first three bytes, which give
// an offset, the input overwrites a prepared image there. Whatever the damage, the program
// never writes past the image's end.
#include "fuzz/Harness.h"

using namespace fs5::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> prepared =
      preparedImage("mkdir /tmp/d\n\nvi /tmp/d/f\n\nvi -i /tmp/d/f\nSome text.\x1b\n\nexit\n");
  if (size < 3) return 0;
  std::vector<uint8_t> bytes = prepared;
  size_t at = (data[0] | data[1] << 8 | data[2] << 16) % bytes.size();
  std::copy(data + 3, data + 3 + std::min(size - 3, bytes.size() - at), bytes.begin() + at);
  writeBytes(image(), bytes);
  runSession(
      "root\nsecret1\nls -l /tmp/d\n\ncat /tmp/d/f\n\ncp -R /tmp/d /home\n\nmv /tmp/d/f /tmp\n\n"
      "rm /tmp/f\n\n\nrmdir /home/d\n\n\nvi -i /tmp/d/g\nabc\x1b\n\nadduser anna\nannapw\n\n"
      "deluser anna\n\nexit\n");
  if (readBytes(image()).size() != bytes.size()) fail("the image changed its length");
  return 0;
}
