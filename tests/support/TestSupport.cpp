#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fsops/Create.h"
#include "shell/Program.h"
#include "storage/AllocMaps.h"
#include "users/AccountStore.h"

#ifdef FS5_HAVE_CHECKER
#include "tools/fs5ck/Checker.h"
#endif

namespace fs5::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "fs5test.XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (made == nullptr) std::abort();
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

namespace {

// True when a session on the image should leave a sound image behind: the image is sound
// now, or missing or empty (the session will format it).
bool startsSound(const std::string& imagePath) {
#ifdef FS5_HAVE_CHECKER
  std::error_code ignored;
  if (!std::filesystem::exists(imagePath, ignored)) return true;
  if (std::filesystem::is_regular_file(imagePath, ignored) &&
      std::filesystem::file_size(imagePath, ignored) == 0)
    return true;
  return checkImageFile(imagePath).sound();
#else
  (void)imagePath;
  return false;
#endif
}

}  // namespace

SessionResult runSession(const std::string& imagePath, const std::string& input) {
  bool judge = startsSound(imagePath);
  SessionResult r = runSessionUnchecked(imagePath, input);
  if (judge && r.status == 0) expectSoundImage(imagePath);
  return r;
}

SessionResult runSessionUnchecked(const std::string& imagePath, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  Console con(in, out, err);
  SessionResult r;
  r.status = runProgram(con, imagePath);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::string formatInput(const std::string& password) { return password + "\n\n"; }

std::string loginInput(const std::string& name, const std::string& password) {
  return name + "\n" + password + "\n";
}

const std::vector<uint8_t>& standardImage() {
  static const std::vector<uint8_t> bytes = [] {
    TempDir dir;
    runSessionUnchecked(dir.file("disk.fs5"), formatInput() + "exit\n");
    return readBytes(dir.file("disk.fs5"));
  }();
  return bytes;
}

std::string withoutClears(const std::string& out) {
  const std::string clear(25, '\n');
  std::string s = out;
  for (std::size_t at = s.find(clear); at != std::string::npos; at = s.find(clear, at))
    s.erase(at, clear.size());
  return s;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void poke(const std::string& path, int64_t offset, const std::vector<uint8_t>& bytes) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(offset);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> peek(const std::string& path, int64_t offset, std::size_t n) {
  std::vector<uint8_t> all = readBytes(path);
  if (offset < 0 || static_cast<std::size_t>(offset) + n > all.size()) return {};
  return std::vector<uint8_t>(all.begin() + offset, all.begin() + offset + n);
}

int16_t peek16(const std::string& path, int64_t offset) {
  auto b = peek(path, offset, 2);
  if (b.size() != 2) return -32768;
  return static_cast<int16_t>(b[0] | (b[1] << 8));
}

ImageFixture::ImageFixture() : image_(dir_.file("disk.fs5")) {
  SessionResult r = runSession(image_, formatInput() + "exit\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

SessionResult ImageFixture::asRoot(const std::string& commands) {
  return runSession(image_, rootLogin() + commands + "exit\n");
}

SessionResult ImageFixture::as(const std::string& name, const std::string& password,
                               const std::string& commands) {
  return runSession(image_, loginInput(name, password) + commands + "exit\n");
}

ImageFixture::Direct::Direct(const std::string& image, const std::string& input)
    : in(input), con(in, out, err), ds(con, image) {
  ds.loadLayout();
}

int16_t addAccount(DiskStream& ds, const std::string& name, const std::string& password) {
  int16_t number = allocUserNumber(ds);
  EXPECT_GT(number, 0);
  EXPECT_EQ(addUserRecord(ds, name, password, number), 0);
  EXPECT_EQ(createFolder(ds, false, number, "/home/" + name), 0);
  return number;
}

int16_t ImageFixture::addAccount(const std::string& name, const std::string& password) {
  auto io = open();
  return test::addAccount(io->ds, name, password);
}

std::unique_ptr<ImageFixture::Direct> ImageFixture::open(const std::string& input) {
  return std::make_unique<Direct>(image_, input);
}

std::vector<std::string> checkImageProblems(const std::string& imagePath) {
#ifdef FS5_HAVE_CHECKER
  return checkImageFile(imagePath).problems;
#else
  (void)imagePath;
  return {};
#endif
}

void expectSoundImage(const std::string& imagePath) {
#ifdef FS5_HAVE_CHECKER
  CheckReport report = checkImageFile(imagePath);
  if (!report.readable) {
    ADD_FAILURE() << "The image checker can not read " << imagePath << ": " << report.failure;
    return;
  }
  if (report.problems.empty()) return;
  std::string lines;
  for (const std::string& line : report.problems) lines += "  " + line + "\n";
  ADD_FAILURE() << "The image checker found problems in " << imagePath << ":\n" << lines;
#else
  (void)imagePath;
#endif
}

}  // namespace fs5::test
