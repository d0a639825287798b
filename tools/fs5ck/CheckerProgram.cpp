#include <algorithm>

#include "tools/fs5ck/Checker.h"

namespace fs5 {

namespace {

constexpr const char* kUsageLine = "Usage: fs5ck [IMAGE]";

void printUsage(std::ostream& out) {
  out << kUsageLine << "\n"
      << "Checks the fs5 disk image IMAGE (disk.fs5 in the current folder when none is given)\n"
      << "and prints one line for every way it departs from a sound image, then a summary.\n"
      << "The image is only read, never changed.\n"
      << "Exit status: 0 sound, 4 problems found, 8 the image can not be read, 16 usage error.\n";
}

int refuseUsage(std::ostream& err, const std::string& why) {
  err << "fs5ck: " << why << "\n" << kUsageLine << "\n";
  return CHECK_USAGE;
}

}  // namespace

int runChecker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    printUsage(out);
    return CHECK_SOUND;
  }
  for (const std::string& arg : args)
    if (!arg.empty() && arg[0] == '-') return refuseUsage(err, "unknown option \"" + arg + "\".");
  if (args.size() > 1) return refuseUsage(err, "only one image can be checked.");
  std::string image = args.empty() ? DEFAULT_IMAGE : args[0];
  CheckReport report = checkImageFile(image);
  if (!report.readable) {
    err << "fs5ck: " << image << ": " << report.failure << "\n";
    return report.exitStatus();
  }
  for (const std::string& line : report.problems) out << line << "\n";
  out << image << ": " << report.summary() << "\n";
  return report.exitStatus();
}

}  // namespace fs5
