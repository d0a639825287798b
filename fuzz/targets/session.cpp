// Console input typed after logging in as root: the program ends with status 0 (1 only when
// a formatting got no superuser password, which leaves an empty image) and leaves a sound
// image. Problems with accounts are excused when the input names "passwd": the superuser may
// damage the accounts.
#include "fuzz/Harness.h"

using namespace fs5::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> prepared = preparedImage("exit\n");
  std::string typed(reinterpret_cast<const char*>(data), size);
  writeBytes(image(), prepared);
  int status = runSession("root\nsecret1\n" + typed);
  if (status != 0 && (status != 1 || typed.find("mkfs") == std::string::npos))
    fail("exit status " + std::to_string(status));
  // A formatting that ended without its superuser leaves an empty image to format again.
  if (status == 1 && readBytes(image()).empty()) return 0;
  bool excused = status != 0 || typed.find("passwd") != std::string::npos;
  for (const std::string& p : checkImageProblems(image()))
    if (!excused || (p.find("passwd") == std::string::npos && !p.starts_with("user number")))
      fail("unsound image: " + p);
  return 0;
}
