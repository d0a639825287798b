// The program: opens the image, formats it when it is empty, and runs logins and commands
// until "exit" or the end of input. Every way it ends returns here with the exit status.
#ifndef FS5_SHELL_PROGRAM_H_
#define FS5_SHELL_PROGRAM_H_

#include <string>

#include "console/Console.h"
#include "storage/DiskStream.h"

namespace fs5 {

inline constexpr const char* IMAGE_FILE = "disk.fs5";

// Runs the whole program on the image file at `imagePath`; returns the exit status. What it
// prints is held until each stretch of work has ended (Console::holdOutput).
int runProgram(Console& con, const std::string& imagePath);
// Runs it on an image stream already open (tests use streams that fail on purpose).
int runProgram(Console& con, DiskStream& ds);

}  // namespace fs5

#endif  // FS5_SHELL_PROGRAM_H_
