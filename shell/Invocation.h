// The arguments fs5sh is started with: none (the image disk.fs5 in the current folder), the
// name of another image, --help or --version.
#ifndef FS5_SHELL_INVOCATION_H_
#define FS5_SHELL_INVOCATION_H_

#include <string>
#include <vector>

#include "console/Console.h"

namespace fs5 {

inline constexpr int EXIT_USAGE = 2;

// Reads the arguments (without the program's name). Returns -1 when the program is to run,
// with `image` set to the image it works on (created when missing, as disk.fs5 is). Otherwise
// returns the exit status after printing, and no image is touched:
//   --help                               the usage, on standard output; 0
//   --version                            "fs5sh <version>", on standard output; 0
//   any other argument that starts with "-", or more than one argument:
//                                        a line saying why, then the usage, on standard
//                                        error; EXIT_USAGE
int readArguments(Console& con, const std::vector<std::string>& args, std::string& image);

}  // namespace fs5

#endif  // FS5_SHELL_INVOCATION_H_
