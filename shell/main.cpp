#include <iostream>

#include "console/Console.h"
#include "shell/Program.h"

int main() {
  fs5::Console console(std::cin, std::cout, std::cerr);
  int status = fs5::runProgram(console, fs5::IMAGE_FILE);
  std::cout.flush();
  return status;
}
