#include "shell/Invocation.h"

#include "shell/Program.h"

namespace fs5 {

namespace {

constexpr const char* kUsage =
    "Usage: fs5sh [IMAGE]\n"
    "Runs the fs5 shell on the disk image IMAGE (disk.fs5 in the current folder when none is\n"
    "given); a missing or empty image is formatted first.\n"
    "  --help     prints this usage\n"
    "  --version  prints the version\n";

int refuseUsage(Console& con, const std::string& why) {
  con.errorPart("fs5sh: " + why + "\n" + kUsage);
  return EXIT_USAGE;
}

}  // namespace

int readArguments(Console& con, const std::vector<std::string>& args, std::string& image) {
  image = IMAGE_FILE;
  if (args.empty()) return -1;
  if (args.size() > 1) return refuseUsage(con, "only one image can be named.");
  const std::string& arg = args[0];
  if (arg == "--help") {
    con.print(kUsage);
    return 0;
  }
  if (arg == "--version") {
    con.line(std::string("fs5sh ") + FS5_VERSION);
    return 0;
  }
  if (arg.starts_with("-")) return refuseUsage(con, "unknown option \"" + arg + "\".");
  image = arg;
  return -1;
}

}  // namespace fs5
