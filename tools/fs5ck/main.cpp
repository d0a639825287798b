#include <iostream>
#include <string>
#include <vector>

#include "tools/fs5ck/Checker.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int status = fs5::runChecker(args, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
