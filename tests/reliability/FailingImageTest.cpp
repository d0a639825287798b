#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/Program.h"
#include "tests/support/FailingDiskStream.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const std::string kFailure = "The disk image can not be read or written.\n";

// A session that goes through most commands, every one of them succeeding: folders, files
// and their content, listing, copying, rights, accounts, a second login, deletion and a
// formatting at the end.
std::string longSession() {
  std::string s = rootLogin();
  s += "mkdir /tmp/d\n\n";
  s += "vi /tmp/d/f\n\n";
  s += "vi -i /tmp/d/f\nSome text.\x1b\n\n";
  s += "cat /tmp/d/f\n\n";
  s += "ls -l /tmp\n\n";
  s += "cd /tmp/d\n";
  s += "vi g\n\n";
  s += "cp f g\n\n";
  s += "cp -R /tmp/d /home\n\n";
  s += "mv g h\n\n";
  s += "chmod o-r f\n\n";
  s += "adduser anna\nannapw1\n\n";
  s += "rm f\n\n\n";
  s += "rmdir /home/d\n\n\n";
  s += "reenter\nanna\nannapw1\n";
  s += "mkdir work\n\n";
  s += "ls -l\n\n";
  s += "reenter\nroot\nsecret1\n";
  s += "cd /home/anna/work\nchown root\n\n";
  s += "deluser anna\n\n";
  s += "mkfs\n\nsecret2\n\n";
  s += "exit\n";
  return s;
}

struct FailedRun {
  int status = 0;
  std::string out;
  std::string err;
  long accesses = 0;
};

// The whole program over `input` on the image, its `failAt`th access failing (-1: none).
FailedRun runFailing(const std::string& image, const std::string& input, long failAt) {
  std::istringstream in(input);
  std::ostringstream out, err;
  Console con(in, out, err);
  FailingDiskStream ds(con, image, failAt);
  FailedRun r;
  r.status = runProgram(con, ds);
  r.out = out.str();
  r.err = err.str();
  r.accesses = ds.accesses();
  return r;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Without a failure the session runs clean: every command worked and nothing went to standard
// error but mv's success line (mv answers "Command not found." until it is built).
TEST(FailingImage, TheLongSessionRunsCleanWithoutAFailure) {
  ImageFixture fx;
  FailedRun r = runFailing(fx.image(), longSession(), -1);
  EXPECT_EQ(r.status, 0);
  if (!r.err.empty()) {
    EXPECT_EQ(r.err, "The file \"g\" was successfully renamed and moved.\n");
  }
  std::string out = withoutClears(r.out);
  for (const char* line :
       {"The folder \"d\" was created successfully.\n", "This is the file \"f\" content:\n",
        "The file \"f\" was successfully copied.\n", "The folder \"d\" was successfully copied.\n",
        "The user account \"anna\" was successfully created.\n", "Deleting file: \"f\".\n",
        "[anna @fs5 /home/anna/ ]$ ", "The folder \"work\" was created successfully.\n",
        "The user account \"anna\" was successfully deleted.\n", "The disk was formatted.\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line;
  expectSoundImage(fx.image());
}

// Each access of the session in turn fails: the program says so once and ends with status 1.
TEST(FailingImage, EveryFailedAccessEndsTheProgramWithStatusOne) {
  ImageFixture fx;
  std::vector<uint8_t> pristine = readBytes(fx.image());
  std::string input = longSession();
  long total = runFailing(fx.image(), input, -1).accesses;
  ASSERT_GT(total, 1000);
  long failures = 0;
  for (long n = 1; n <= total; ++n) {
    writeBytes(fx.image(), pristine);
    FailedRun r = runFailing(fx.image(), input, n);
    bool ok = r.status == 1 && count(r.err, kFailure) == 1;
    EXPECT_TRUE(ok) << "access " << n << " of " << total << ": status " << r.status
                    << ", standard error:\n"
                    << r.err;
    if (!ok && ++failures > 5) break;
  }
  std::cout << "Accesses failed in turn: " << total << "\n";
}

}  // namespace
}  // namespace fs5::test
