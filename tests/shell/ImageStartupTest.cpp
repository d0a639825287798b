#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/Program.h"
#include "tests/support/FailingDiskStream.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const std::string kClear(25, '\n');

// These images are damaged on purpose, so the sessions skip the image check.
SessionResult runRaw(const std::string& image, const std::string& input) {
  return runSessionUnchecked(image, input);
}

TEST(ImageStartup, AMissingImageIsCreatedAndFormatted) {
  TempDir dir;
  SessionResult r = runRaw(dir.file("disk.fs5"), "secret1\n\nexit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(std::filesystem::file_size(dir.file("disk.fs5")), 122010u);
}

TEST(ImageStartup, AnExistingImageKeepsItsSize) {
  ImageFixture fx;
  std::vector<uint8_t> withTail = readBytes(fx.image());
  withTail.resize(130000, 0x5A);  // bytes past the image are never touched
  writeBytes(fx.image(), withTail);
  SessionResult r = runRaw(fx.image(), rootLogin() + "exit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readBytes(fx.image()), withTail);
}

TEST(ImageStartup, EndOfInputInTheFormattingPasswordDialogueEndsWithStatusOne) {
  TempDir dir;
  SessionResult r = runRaw(dir.file("disk.fs5"), "abc\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "The superuser account was not created.\n");
  std::string out = withoutClears(r.out);
  std::string ask = "\nEnter the superuser password (min. 6 tokens, max. 30 tokens):\n";
  std::string tail = ask + "Do not undergo the minimum of 6 tokens.\n" + ask;
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST(ImageStartup, DamagedLayoutsAreRefusedWithNothingWritten) {
  struct Case {
    int64_t offset;
    std::vector<uint8_t> bytes;
  };
  for (const Case& c : {Case{0, {11, 0}}, Case{2, {10, 0}}, Case{8, {0xf9, 0x55}},
                        Case{4, {100, 0}}, Case{6, {0xff, 0xff}}}) {
    ImageFixture fx;
    poke(fx.image(), c.offset, c.bytes);
    std::vector<uint8_t> before = readBytes(fx.image());
    SessionResult r = runRaw(fx.image(), rootLogin() + "exit\n");
    EXPECT_EQ(r.status, 1) << c.offset;
    EXPECT_EQ(r.err, "The disk image is damaged: its layout is not valid.\n");
    EXPECT_EQ(r.out, kClear);
    EXPECT_EQ(readBytes(fx.image()), before);
  }
}

TEST(ImageStartup, TruncatedImagesAreDamaged) {
  for (std::size_t size : {std::size_t{1}, std::size_t{9}, std::size_t{10}, std::size_t{122009}}) {
    ImageFixture fx;
    std::vector<uint8_t> bytes = readBytes(fx.image());
    bytes.resize(size);
    writeBytes(fx.image(), bytes);
    SessionResult r = runRaw(fx.image(), rootLogin() + "exit\n");
    EXPECT_EQ(r.status, 1) << size;
    EXPECT_EQ(r.err, "The disk image is damaged: its layout is not valid.\n") << size;
    EXPECT_EQ(readBytes(fx.image()).size(), size);
  }
}

TEST(ImageStartup, AnImageThatCannotBeOpenedEndsWithStatusOne) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("disk.fs5"));
  SessionResult r = runRaw(dir.file("disk.fs5"), "exit\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, kClear);
  EXPECT_EQ(r.err, "File can not be open.\n");
}

// Every access of a whole session, failed in turn: the program always ends with status 1 and
// says why, once.
TEST(ImageStartup, AFailingImageEndsTheProgramWithStatusOne) {
  ImageFixture fx;
  std::string input = rootLogin() + "nosuch\n\nmkfs\n\nsecret2\n\nexit\n";
  long total = 0;
  {
    std::istringstream in(input);
    std::ostringstream out, err;
    Console con(in, out, err);
    FailingDiskStream ds(con, fx.image(), -1);
    ASSERT_EQ(runProgram(con, ds), 0);
    total = ds.accesses();
  }
  ASSERT_GT(total, 50);
  ImageFixture pristine;
  for (long n = 1; n <= total; n += 7) {
    writeBytes(fx.image(), readBytes(pristine.image()));
    std::istringstream in(input);
    std::ostringstream out, err;
    Console con(in, out, err);
    FailingDiskStream ds(con, fx.image(), n);
    EXPECT_EQ(runProgram(con, ds), 1) << n;
    EXPECT_EQ(err.str().find("The disk image can not be read or written.\n"),
              err.str().rfind("The disk image can not be read or written.\n"))
        << n;
    EXPECT_NE(err.str().find("The disk image can not be read or written.\n"), std::string::npos)
        << n;
  }
}

// The built program: piped input, exit status, and the image in the current folder.
TEST(ImageStartup, TheProgramRunsOverAPipeInTheCurrentFolder) {
  const char* bin = std::getenv("FS5_BINARY_DIR");
  ASSERT_NE(bin, nullptr);
  TempDir dir;
  std::string cmd = "cd '" + dir.path() +
                    "' && printf 'secret1\\n\\nroot\\nsecret1\\nexit\\n' | '" + bin +
                    "/fs5sh' > out.txt 2> err.txt";
  int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(std::filesystem::file_size(dir.file("disk.fs5")), 122010u);
  std::vector<uint8_t> err = readBytes(dir.file("err.txt"));
  EXPECT_TRUE(err.empty());
  std::vector<uint8_t> out = readBytes(dir.file("out.txt"));
  std::string text(out.begin(), out.end());
  std::size_t first = text.find("[root @fs5 /root/ ]# ");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(text.find("[root @fs5 /root/ ]# ", first + 1), std::string::npos);

  std::string damaged = "cd '" + dir.path() + "' && printf 'x' > disk.fs5 && '" + bin +
                        "/fs5sh' < /dev/null > out2.txt 2> err2.txt";
  status = std::system(damaged.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::vector<uint8_t> err2 = readBytes(dir.file("err2.txt"));
  EXPECT_EQ(std::string(err2.begin(), err2.end()),
            "The disk image is damaged: its layout is not valid.\n");
}

}  // namespace
}  // namespace fs5::test
