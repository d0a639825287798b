// The built programs run as processes, input from a file: both streams and the exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

// "status|standard output|standard error" of `program args` run in `dir` on `input`.
std::string run(const TempDir& dir, const std::string& command, const std::string& input) {
  std::ofstream(dir.file("in")) << input;
  int raw = std::system(
      ("cd " + dir.path() + " && " + FS5_BINARY_DIR + "/" + command + " <in >out 2>err").c_str());
  std::vector<uint8_t> out = readBytes(dir.file("out")), err = readBytes(dir.file("err"));
  return std::to_string(WEXITSTATUS(raw)) + "|" + std::string(out.begin(), out.end()) + "|" +
         std::string(err.begin(), err.end());
}

TEST(Fs5sh, FormatsAMissingImageAndEndsAtTheEndOfInput) {
  TempDir dir;
  std::string r = run(dir, "fs5sh", "secret1\n\nroot\nsecret1\nreenter");
  EXPECT_TRUE(r.starts_with("0|" + kClear + "The disk is empty. A new disk will be formatted.\n"));
  EXPECT_NE(r.find("The disk was formatted.\n\nPress Enter to continue.\n" + kClear + "Login: "),
            std::string::npos);
  EXPECT_TRUE(r.ends_with("[root @fs5 /root/ ]# " + kClear + "[root @fs5 /root/ ]# " + kClear +
                          "Login: |"));
  EXPECT_EQ(readBytes(dir.file("disk.fs5")), standardImage());
  EXPECT_EQ(standardImage().size(), 122010u);
}

// --help and --version print and end; a usage error prints the usage on standard error; none
// of them touches an image. One argument names the image to work on instead of disk.fs5.
TEST(Fs5sh, TakesAnImageNameHelpAndVersion) {
  TempDir dir;
  EXPECT_TRUE(run(dir, "fs5sh --help", "").starts_with("0|Usage: fs5sh [IMAGE]\nRuns the"));
  EXPECT_EQ(run(dir, "fs5sh --version", ""), "0|fs5sh 0.1\n|");
  EXPECT_TRUE(run(dir, "fs5sh -x", "").starts_with("2||fs5sh: unknown option \"-x\".\nUsage:"));
  EXPECT_TRUE(run(dir, "fs5sh a b", "").starts_with("2||fs5sh: only one image can be named.\n"));
  EXPECT_TRUE(run(dir, "fs5sh a.fs5", "secret1\n\n").starts_with("0|" + kClear + "The disk is"));
  EXPECT_EQ(readBytes(dir.file("a.fs5")), standardImage());
  for (const char* name : {"disk.fs5", "a"}) EXPECT_FALSE(std::filesystem::exists(dir.file(name)));
}

TEST(Fs5sh, EndsWithStatusOneOnImagesItCanNotUse) {
  TempDir dir;
  const std::string image = dir.file("disk.fs5"), damaged =
                                                      "The disk image is damaged: its "
                                                      "layout is not valid.\n";
  writeBytes(image, {});
  EXPECT_TRUE(run(dir, "fs5sh", "short\n").ends_with("|The superuser account was not created.\n"));
  EXPECT_EQ(readBytes(image).size(), 0u);
  writeBytes(image, standardImage());
  poke(image, 8, {0xf9, 0x55});
  EXPECT_EQ(run(dir, "fs5sh", "root\nsecret1\n"), "1|" + kClear + "|" + damaged);
  std::filesystem::resize_file(image, 122009);
  poke(image, 8, {0xfa, 0x55});
  EXPECT_EQ(run(dir, "fs5sh", ""), "1|" + kClear + "|" + damaged);
  EXPECT_EQ(readBytes(image).size(), 122009u);
  std::filesystem::remove(image);
  std::filesystem::create_directory(image);
  EXPECT_EQ(run(dir, "fs5sh", ""),
            "1|" + kClear + "|File can not be open.\ndisk.fs5: Is a directory\n");
  EXPECT_EQ(run(dir, "fs5sh none/a", ""),
            "1|" + kClear + "|File can not be open.\nnone/a: No such file or directory\n");
  std::filesystem::remove(image);
  std::filesystem::remove(image + "-journal");
  std::filesystem::create_directory(image + "-journal");
  EXPECT_EQ(run(dir, "fs5sh", ""),
            "1|" + kClear + "|File can not be open.\ndisk.fs5-journal: Is a directory\n");
  std::filesystem::remove(image + "-journal");
  std::filesystem::remove(image);
  std::filesystem::create_symlink("/dev/full", image);
  EXPECT_TRUE(
      run(dir, "fs5sh", "secret1\n\n").ends_with("|The disk image can not be read or written.\n"));
}

// A formatting that ends without its superuser (the input ends in the password dialogue)
// leaves the image empty, whether at start-up or by mkfs, so the next start formats again.
TEST(Fs5sh, FormattingEndedWithoutItsSuperuserLeavesAnEmptyImage) {
  TempDir dir;
  const std::string image = dir.file("disk.fs5");
  writeBytes(image, standardImage());
  EXPECT_TRUE(run(dir, "fs5sh", "root\nsecret1\nmkfs\n\n")
                  .ends_with("tokens):\n|The superuser account was not created.\n"));
  EXPECT_EQ(readBytes(image).size(), 0u);
  EXPECT_TRUE(run(dir, "fs5sh", "secret1\n\n").starts_with("0|" + kClear + "The disk is empty."));
  EXPECT_EQ(readBytes(image), standardImage());
}

// An image whose superuser can not log in gets a new superuser password at start-up, asked as
// formatting asks it; the end of input there ends the program and writes nothing.
TEST(Fs5sh, SetsANewSuperuserPasswordWhenTheAccountIsUnusable) {
  TempDir dir;
  const std::string image = dir.file("disk.fs5");
  const std::vector<uint8_t>& standard = standardImage();
  const int64_t number = std::string(standard.begin(), standard.end()).find("secret1") - 2;
  const std::string asked = kClear +
                            "The superuser account is missing or damaged. A new superuser "
                            "password will be set.\n\nEnter the superuser password (min. 6 "
                            "tokens, max. 30 tokens):\n";
  const std::string created =
      "\nThe superuser account \"root\" was successfully created.\n\nPress Enter to continue.\n" +
      kClear + "Login: \nPassword: " + kClear + "[root @fs5 /root/ ]# ";
  auto mended = [&](const std::string& made) {
    EXPECT_TRUE(run(dir, "fs5sh", "newpass1\n\nroot newpass1 exit\n")
                    .starts_with("0|" + asked + made + created))
        << made;
    EXPECT_TRUE(run(dir, "fs5ck", "").starts_with("0|disk.fs5: folders 19, files 1,"));
  };
  writeBytes(image, standard);
  poke(image, number, {5, 0});
  const std::vector<uint8_t> damaged = readBytes(image);
  EXPECT_EQ(run(dir, "fs5sh", ""), "1|" + asked + "|The superuser account was not created.\n");
  EXPECT_EQ(readBytes(image), damaged);
  mended("");
  writeBytes(image, standard);
  poke(image, number + 2, {0});
  mended("");
  writeBytes(image, standard);
  run(dir, "fs5sh", "root\nsecret1\nrm /etc/passwd/root\n\n\nexit\n");
  mended("");
  writeBytes(image, standard);
  run(dir, "fs5sh", "root\nsecret1\nrmdir /etc/passwd\n\n\nexit\n");
  mended("The folder \"passwd\" was created successfully.\n");
}

// fs5sh in `dir` reading from a pipe (its writing end returned in `input`), both streams to
// the file "out".
pid_t startShell(const TempDir& dir, int& input) {
  int ends[2];
  if (pipe(ends) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {  // only a failed step comes back
    int out = open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    _exit(dup2(ends[0], 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0 ||
          chdir(dir.path().c_str()) ||
          execl((std::string(FS5_BINARY_DIR) + "/fs5sh").c_str(), "fs5sh", nullptr));
  }
  close(ends[0]);
  input = ends[1];
  return child;
}

// Waits up to 5 seconds for `text` in the file "out".
bool shows(const TempDir& dir, const std::string& text) {
  for (int tries = 0; tries < 500; ++tries) {
    std::vector<uint8_t> out = readBytes(dir.file("out"));
    if (std::string(out.begin(), out.end()).find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// SIGTERM ends a shell reading a pipe once the stretch in progress is over (here at once: it
// waits for input, or for the lock), with its own status, so a calling shell sees 143; what was
// done is kept whole and the image is sound.
TEST(Fs5sh, EndsBySigtermBetweenStretches) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  int input = -1;
  pid_t shell = startShell(dir, input);
  const std::string typed = "root\nsecret1\nmkdir /tmp/a\n";
  ASSERT_EQ(write(input, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  EXPECT_TRUE(shows(dir, "\"a\" was created successfully.\n\nPress Enter to continue.\n"));
  int status = 0;
  kill(shell, SIGTERM);
  waitpid(shell, &status, 0);
  close(input);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(run(dir, "fs5ck", "").starts_with("0|disk.fs5: folders 20, files 1,"));
  // A shell waiting for the lock another holds is ended too, before its stretch begins.
  int image = open(dir.file("disk.fs5").c_str(), O_RDWR);
  ASSERT_EQ(flock(image, LOCK_EX), 0);
  shell = startShell(dir, input);
  EXPECT_TRUE(shows(dir, "Waiting for the disk image, in use by another console.\n"));
  kill(shell, SIGTERM);
  waitpid(shell, &status, 0);
  close(input);
  close(image);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

TEST(Fs5ck, ReportsAndExitStatuses) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  const std::string summary =
      "folders 19, files 1, used i-nodes 20, used datablocks 26, "
      "accounts 1, problems ";
  EXPECT_EQ(run(dir, "fs5ck", ""), "0|disk.fs5: " + summary + "0\n|");
  poke(dir.file("disk.fs5"), 1210 + 208 + 4, {3, 0});
  const std::string type3 = "i-node 1: used but its type is 3, neither 1 (folder) nor 2 (file).\n";
  const std::string damaged = "disk.fs5: folders 18" + summary.substr(10) + "1";
  EXPECT_EQ(run(dir, "fs5ck -n disk.fs5", ""), "4|" + type3 + damaged + "\n|");
  EXPECT_EQ(run(dir, "fs5ck -p", ""), "4|" + type3 + damaged + ", left 1\n|");
  EXPECT_EQ(
      run(dir, "fs5ck -y", ""),
      "1|" + type3 + "i-node 1: type set to 1 (folder).\ndisk.fs5: " + summary + "1, left 0\n|");
  EXPECT_EQ(run(dir, "fs5ck -y", ""), "0|disk.fs5: " + summary + "0\n|");
  EXPECT_EQ(run(dir, "fs5ck other.fs5", ""), "8||fs5ck: other.fs5: the image does not exist.\n");
  poke(dir.file("disk.fs5"), 0, {11});
  EXPECT_EQ(run(dir, "fs5ck", ""), "8||fs5ck: disk.fs5: the header is not a valid layout.\n");
  EXPECT_EQ(run(dir, "fs5ck a b", ""),
            "16||fs5ck: only one image can be checked.\nUsage: fs5ck [-n | -p | -y] [IMAGE]\n");
  EXPECT_EQ(
      run(dir, "fs5ck -y -n", ""),
      "16||fs5ck: only one of -n, -p and -y can be given.\nUsage: fs5ck [-n | -p | -y] [IMAGE]\n");
  EXPECT_TRUE(run(dir, "fs5ck -q", "").starts_with("16||"));
  EXPECT_TRUE(
      run(dir, "fs5ck x --help", "").starts_with("0|Usage: fs5ck [-n | -p | -y] [IMAGE]\nChecks"));
}

}  // namespace
}  // namespace fs5::test
