#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/fs5/Session.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int status = fs5::runHostTool(args, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1);
  std::cout.flush();
  return status;
}
