// Several fs5sh processes on one image at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

std::string shell() { return std::string(FS5_BINARY_DIR) + "/fs5sh"; }

std::string text(const std::string& path) {
  std::vector<uint8_t> b = readBytes(path);
  return std::string(b.begin(), b.end());
}

// Whether, within 10 seconds, a process comes to wait in flock(2) for the file: a line of
// /proc/locks marked "->" (a waiter) names the file's i-node.
bool comesToWaitForLock(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  const std::regex waiter("-> FLOCK .*:" + std::to_string(st.st_ino) + " ");
  for (int tries = 0; tries < 200; ++tries) {
    if (std::regex_search(text("/proc/locks"), waiter)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// Four consoles started together, their input ready, make and delete folders in /tmp and
// rewrite a file each: the image stays sound and every file holds what its owner wrote last.
TEST(Consoles, WorkOnOneImageAtOnce) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  std::string all;
  for (int p = 1; p <= 4; ++p) {
    std::ofstream in(dir.file("in" + std::to_string(p)));
    in << "root\nsecret1\nvi f" << p << "\n\n";
    for (int i = 0; i < 15; ++i)
      in << "mkdir /tmp/d" << i << "\n\nvi -i f" << p << "\n"
         << p << "-" << i << "\x1b\n\n"
         << "ls /tmp\n\nrmdir /tmp/d" << i << "\n\n\n";
    in << "exit\n";
    all += " & " + shell() + " <in" + std::to_string(p) + " >out" + std::to_string(p) + " 2>&1";
  }
  ASSERT_EQ(std::system(("cd " + dir.path() + " && (true" + all + " & wait)").c_str()), 0);
  EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{});
  std::ofstream(dir.file("cat")) << "root\nsecret1\ncat f1\n\ncat f2\n\ncat f3\n\ncat f4\n\nexit\n";
  std::system(("cd " + dir.path() + " && " + shell() + " <cat >shown").c_str());
  std::string shown = text(dir.file("shown"));
  for (int p = 1; p <= 4; ++p)
    EXPECT_NE(shown.find("content:\n" + std::to_string(p) + "-14\n"), std::string::npos) << p;
}

// A console left at a confirmation, its input held open, holds no other console up.
TEST(Consoles, OneAtAConfirmationHoldsNoOtherUp) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  std::FILE* waiting = popen(("cd " + dir.path() + " && " + shell() + " >held").c_str(), "w");
  ASSERT_NE(waiting, nullptr);
  std::fputs("root\nsecret1\nvi /tmp/x\n\nrm /tmp/x\n", waiting);
  std::fflush(waiting);
  for (int tries = 0;
       tries < 200 && text(dir.file("held")).find("Delete file") == std::string::npos; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ofstream(dir.file("in")) << "root\nsecret1\nmkdir /tmp/y\n\nexit\n";
  int other = std::system(("cd " + dir.path() + " && timeout 20 " + shell() + " <in >out").c_str());
  std::fputs("\n\nexit\n", waiting);
  EXPECT_EQ(pclose(waiting), 0);
  EXPECT_EQ(other, 0);
  EXPECT_NE(text(dir.file("out")).find("The folder \"y\" was created successfully."),
            std::string::npos);
  EXPECT_NE(text(dir.file("held")).find("Deleting file: \"x\"."), std::string::npos);
  EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{});
}

// A console that finds the image held by another process says so once, waits, and then
// does its work.
TEST(Consoles, OneHeldUpSaysSoAndWaits) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  int holder = ::open(dir.file("disk.fs5").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  std::ofstream(dir.file("in")) << "root\nsecret1\nmkdir /tmp/y\n\nexit\n";
  std::FILE* console = popen(("cd " + dir.path() + " && " + shell() + " <in >out").c_str(), "r");
  ASSERT_NE(console, nullptr);
  const std::string waiting = kClear + "Waiting for the disk image, in use by another console.\n";
  EXPECT_TRUE(comesToWaitForLock(dir.file("disk.fs5")));
  EXPECT_EQ(text(dir.file("out")), waiting);
  ::close(holder);
  EXPECT_EQ(pclose(console), 0);
  std::string out = text(dir.file("out"));
  EXPECT_TRUE(out.starts_with(waiting));
  EXPECT_EQ(out.find("Waiting", waiting.size()), std::string::npos);
  EXPECT_NE(out.find("The folder \"y\" was created successfully."), std::string::npos);
  EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{});
}

// fs5ck shares the image with readers while it only checks, and repairs only alone: held
// shared, the check runs and -y waits (stopped by timeout, status 124); held alone, both wait.
TEST(Consoles, Fs5ckLocksSharedToCheckAndAloneToRepair) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  std::string fsck = "cd " + dir.path() + " && timeout 2 " + FS5_BINARY_DIR + "/fs5ck ";
  auto status = [&](const std::string& args) {
    return WEXITSTATUS(std::system((fsck + args + " >/dev/null").c_str()));
  };
  int holder = ::open(dir.file("disk.fs5").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(holder, LOCK_SH), 0);
  EXPECT_EQ(status("disk.fs5"), 0);
  EXPECT_EQ(status("-y disk.fs5"), 124);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  EXPECT_EQ(status("disk.fs5"), 124);
  ::close(holder);
  EXPECT_EQ(status("-p disk.fs5"), 0);
}

}  // namespace
}  // namespace fs5::test
