// One session through every command, run again and again: with each image access failing in
// turn, and with the input cut short at every byte.
#include <gtest/gtest.h>

#include "shell/Program.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const std::string kSession =
    "root\nsecret1\nmkdir /tmp/d\n\nvi /tmp/d/f\n\nvi -i /tmp/d/f\nSome text.\x1b\n\n"
    "cat /tmp/d/f\n\nls -l /tmp\n\ncd /tmp/d\nvi g\n\ncp f g\n\ncp -R /tmp/d /home\n\n"
    "mv g h\n\nchmod o-r f\n\nadduser anna\nannapw1\n\nrm f\n\n\nrmdir /home/d\n\n\n"
    "reenter\nanna\nannapw1\nmkdir work\n\nreenter\nroot\nsecret1\ncd /home/anna/work\n"
    "chown root\n\ndeluser anna\n\nmkfs\n\nsecret2\n\nexit\n";

// An image stream whose `failAt`th access fails (reads, writes and size queries counted).
struct FailingDiskStream : FileDiskStream {
  FailingDiskStream(Console& con, const std::string& path, long failAt)
      : FileDiskStream(con, path), failAt(failAt) {}
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override {
    return ++accesses != failAt && FileDiskStream::readAt(offset, buf, n);
  }
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override {
    return ++accesses != failAt && FileDiskStream::writeAt(offset, buf, n);
  }
  int64_t fileSize() override { return ++accesses != failAt ? FileDiskStream::fileSize() : -1; }
  long failAt, accesses = 0;
};

// Runs the session's `input` on a fresh image: the status, standard error and the accesses.
std::tuple<int, std::string, long> runFailing(const std::string& image, const std::string& input,
                                              long failAt) {
  writeBytes(image, standardImage());
  std::istringstream in(input);
  std::ostringstream out, err;
  Console con(in, out, err);
  FailingDiskStream ds(con, image, failAt);
  int status = runProgram(con, ds);
  return {status, err.str(), ds.accesses};
}

TEST(Reliability, EveryFailedAccessEndsTheProgramWithStatusOne) {
  TempDir dir;
  auto [status, err, accesses] = runFailing(dir.file("i"), kSession, -1);
  ASSERT_EQ(std::tuple(status, err),
            std::tuple(0, "The file \"g\" was successfully renamed and moved.\n"));
  ASSERT_GT(accesses, 1000);
  for (long n = 1, faults = 0; n <= accesses && faults < 5; ++n) {
    auto [status, err, _] = runFailing(dir.file("i"), kSession, n);
    std::size_t at = err.find("The disk image can not be read or written.\n");
    bool once = at != std::string::npos && err.find("The disk", at + 1) == std::string::npos;
    faults += status != 1 || !once;
    EXPECT_TRUE(status == 1 && once) << "access " << n << ": " << status << "\n" << err;
  }
}

// Input that ends anywhere ends the program with status 0, or 1 inside the superuser
// password of the formatting, which then leaves no superuser account and nothing else wrong.
TEST(Reliability, InputEndingAtEveryByteLeavesASoundImage) {
  TempDir dir;
  std::size_t password = kSession.find("mkfs\n\n") + 6;
  for (std::size_t cut = 0, faults = 0; cut <= kSession.size() && faults < 5; ++cut) {
    int status = std::get<0>(runFailing(dir.file("i"), kSession.substr(0, cut), -1));
    bool inPassword = cut >= password && cut < password + 6;
    std::vector<std::string> expected;
    if (inPassword) expected = {"user number 0: the superuser's number is held by no account."};
    auto got = std::tuple(status, checkImageProblems(dir.file("i")));
    faults += got != std::tuple(int(inPassword), expected);
    EXPECT_EQ(got, std::tuple(int(inPassword), expected)) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace fs5::test
