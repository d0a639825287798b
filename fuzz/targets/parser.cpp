// Path texts and command lines: every path the objects hold keeps to 8 components and 239
// characters, and the command word to 21.
#include "fuzz/Harness.h"
#include "path/PathName.h"
#include "shell/ShellState.h"

using namespace fs5::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in("\n\n\n\n");
  std::ostringstream out;
  fs5::Console con(in, out, out);
  fs5::PathName p, work;
  p.parse(con, text);
  work.parse(con, "/home/anna");
  work.appendPath(con, "/" + text);
  p.append(con, text);
  p.dropFirst(con);
  for (const fs5::PathName* q : {&p, &work})
    if (q->getDepth() > 8 || q->getText().size() > 239) fail("path too long: " + q->getText());
  fs5::ShellState state(con);
  state.splitCommandLine(text);
  if (state.command().size() > 21) fail("command word too long");
  return 0;
}
