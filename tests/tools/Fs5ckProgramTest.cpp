// fs5ck as a program: its output on each stream and its exit status, in-process through
// runChecker and, for a few cases, as the built program run in a process of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Checker.h"

namespace fs5::test {
namespace {

const char* const kUsage =
    "Usage: fs5ck [IMAGE]\n"
    "Checks the fs5 disk image IMAGE (disk.fs5 in the current folder when none is given)\n"
    "and prints one line for every way it departs from a sound image, then a summary.\n"
    "The image is only read, never changed.\n"
    "Exit status: 0 sound, 4 problems found, 8 the image can not be read, 16 usage error.\n";

struct CheckerRun {
  std::string out;
  std::string err;
  int status = -1;
};

CheckerRun inProcess(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CheckerRun r;
  r.status = runChecker(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::string fileText(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// Runs the built fs5ck in `folder` with the argument text `args` (already quoted).
CheckerRun asProcess(const std::string& folder, const std::string& args) {
  const char* binaryDir = std::getenv("FS5_BINARY_DIR");
  EXPECT_NE(binaryDir, nullptr) << "FS5_BINARY_DIR is not set";
  CheckerRun r;
  if (binaryDir == nullptr) return r;
  std::string out = folder + "/fs5ck.out", err = folder + "/fs5ck.err";
  std::string command = "cd '" + folder + "' && '" + binaryDir + "/fs5ck' " + args + " >'" + out +
                        "' 2>'" + err + "'";
  int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = fileText(out);
  r.err = fileText(err);
  return r;
}

TEST(Fs5ckProgram, SoundImagePrintsTheSummaryOnly) {
  ImageFixture f;
  CheckerRun r = inProcess({f.image()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, f.image() +
                       ": folders 19, files 1, used i-nodes 20, used datablocks 26, accounts 1, "
                       "problems 0\n");
  EXPECT_EQ(r.err, "");
}

TEST(Fs5ckProgram, ProblemLinesThenTheSummary) {
  ImageFixture f;
  poke(f.image(), kBlockMap + 600, {1});
  poke(f.image(), kInodeMap + 30, {1});
  CheckerRun r = inProcess({f.image()});
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.out,
            "i-node 30: used but its record is all zero.\n"
            "datablock 600: used but listed by no i-node.\n" +
                f.image() +
                ": folders 19, files 1, used i-nodes 21, used datablocks 27, accounts 1, "
                "problems 2\n");
  EXPECT_EQ(r.err, "");
}

TEST(Fs5ckProgram, UnreadableImages) {
  TempDir dir;
  CheckerRun missing = inProcess({dir.file("disk.fs5")});
  EXPECT_EQ(missing.status, 8);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "fs5ck: " + dir.file("disk.fs5") + ": the image does not exist.\n");
  writeBytes(dir.file("disk.fs5"), std::vector<uint8_t>(122010, 0));
  CheckerRun zeros = inProcess({dir.file("disk.fs5")});
  EXPECT_EQ(zeros.status, 8);
  EXPECT_EQ(zeros.out, "");
  EXPECT_EQ(zeros.err, "fs5ck: " + dir.file("disk.fs5") + ": the header is not a valid layout.\n");
}

TEST(Fs5ckProgram, HelpAndUsageErrors) {
  CheckerRun help = inProcess({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, kUsage);
  EXPECT_EQ(help.err, "");
  CheckerRun two = inProcess({"a.fs5", "b.fs5"});
  EXPECT_EQ(two.status, 16);
  EXPECT_EQ(two.out, "");
  EXPECT_EQ(two.err, "fs5ck: only one image can be checked.\nUsage: fs5ck [IMAGE]\n");
  CheckerRun option = inProcess({"-n", "disk.fs5"});
  EXPECT_EQ(option.status, 16);
  EXPECT_EQ(option.out, "");
  EXPECT_EQ(option.err, "fs5ck: unknown option \"-n\".\nUsage: fs5ck [IMAGE]\n");
  CheckerRun helpAndImage = inProcess({"disk.fs5", "--help"});
  EXPECT_EQ(helpAndImage.status, 0);
  EXPECT_EQ(helpAndImage.out, kUsage);
  EXPECT_EQ(helpAndImage.err, "");
}

TEST(Fs5ckProcess, ChecksDiskFs5InTheCurrentFolderByDefault) {
  ImageFixture f;
  std::string folder = f.image().substr(0, f.image().rfind('/'));
  CheckerRun sound = asProcess(folder, "");
  EXPECT_EQ(sound.status, 0);
  EXPECT_EQ(sound.out,
            "disk.fs5: folders 19, files 1, used i-nodes 20, used datablocks 26, accounts 1, "
            "problems 0\n");
  EXPECT_EQ(sound.err, "");
  poke(f.image(), inodeAt(1) + 4, {3, 0});
  CheckerRun damaged = asProcess(folder, "");
  EXPECT_EQ(damaged.status, 4);
  EXPECT_EQ(damaged.out,
            "i-node 1: used but its type is 3, neither 1 (folder) nor 2 (file).\n"
            "disk.fs5: folders 18, files 1, used i-nodes 20, used datablocks 26, accounts 1, "
            "problems 1\n");
  EXPECT_EQ(damaged.err, "");
}

TEST(Fs5ckProcess, StatusesOfAMissingImageHelpAndAUsageError) {
  TempDir dir;
  CheckerRun missing = asProcess(dir.path(), "other.fs5");
  EXPECT_EQ(missing.status, 8);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "fs5ck: other.fs5: the image does not exist.\n");
  CheckerRun help = asProcess(dir.path(), "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, kUsage);
  CheckerRun usage = asProcess(dir.path(), "a b");
  EXPECT_EQ(usage.status, 16);
  EXPECT_EQ(usage.out, "");
  EXPECT_EQ(usage.err, "fs5ck: only one image can be checked.\nUsage: fs5ck [IMAGE]\n");
}

}  // namespace
}  // namespace fs5::test
