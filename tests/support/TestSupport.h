// Helpers shared by the tests: a temporary folder with an image in it, whole shell sessions
// run in-process over text input, and byte access to the image file.
#ifndef FS5_TESTS_SUPPORT_TESTSUPPORT_H_
#define FS5_TESTS_SUPPORT_TESTSUPPORT_H_

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "storage/DiskStream.h"

namespace fs5::test {

// The standard superuser password used by the fixtures.
inline constexpr const char* kRootPassword = "secret1";

// A fresh temporary folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct SessionResult {
  std::string out;
  std::string err;
  int status = 0;
};

// Runs the whole program over `input` on the image file, capturing both streams. When the
// session ends with status 0 and the image was sound before it (or missing or empty, so the
// session formatted it), the image checker judges the image afterwards and each problem it
// finds is a test failure. An image a test has damaged on purpose before the session is not
// judged.
SessionResult runSession(const std::string& imagePath, const std::string& input);
// The same session without judging the image afterwards, for a test that means to leave a
// damaged image behind.
SessionResult runSessionUnchecked(const std::string& imagePath, const std::string& input);

// The input that formats an empty image and answers the wait that follows it.
std::string formatInput(const std::string& password = kRootPassword);
// The input that logs in (the end of line after the password makes one empty command).
std::string loginInput(const std::string& name, const std::string& password);
inline std::string rootLogin() { return loginInput("root", kRootPassword); }

// The bytes of a freshly formatted standard image (root's password kRootPassword).
const std::vector<uint8_t>& standardImage();

// Removes the 25-line screen clearings from console output, so transcripts stay readable.
std::string withoutClears(const std::string& out);

// Whole-file byte access.
std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void poke(const std::string& path, int64_t offset, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> peek(const std::string& path, int64_t offset, std::size_t n);
int16_t peek16(const std::string& path, int64_t offset);

// A formatted standard image in a temporary folder, ready for sessions and for direct
// access through a stream whose console output is captured.
class ImageFixture {
 public:
  ImageFixture();
  const std::string& image() const { return image_; }
  // Runs a session that logs in as root, runs `commands` and exits.
  SessionResult asRoot(const std::string& commands);
  // Runs a session that logs in as `name` with `password`, runs `commands` and exits.
  SessionResult as(const std::string& name, const std::string& password,
                   const std::string& commands);

  // Makes an account as adduser would (a user number, the account file, the home folder
  // /home/<name> owned by it) and returns its number.
  int16_t addAccount(const std::string& name, const std::string& password);

  // A stream on the image with its own console (input `in`, captured out and err).
  struct Direct {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    Console con;
    FileDiskStream ds;
    explicit Direct(const std::string& image, const std::string& input = "");
  };
  std::unique_ptr<Direct> open(const std::string& input = "");

 private:
  TempDir dir_;
  std::string image_;
};

// Makes an account on an open image as adduser would; returns its user number.
int16_t addAccount(DiskStream& ds, const std::string& name, const std::string& password);

// Offsets of the standard image.
inline constexpr int64_t kInodeMap = 10;
inline constexpr int64_t kBlockMap = 110;
inline constexpr int64_t kUserMap = 1110;
inline constexpr int64_t kInodeTable = 1210;
inline constexpr int64_t kBlockArea = 22010;
inline int64_t inodeAt(int n) { return kInodeTable + int64_t{n} * 208; }
inline int64_t blockAt(int k) { return kBlockArea + int64_t{k} * 100; }

// The problems the image checker finds (empty when it is sound, or when no checker is built).
std::vector<std::string> checkImageProblems(const std::string& imagePath);
// Adds a test failure listing the checker's problem lines (or why the image can not be read)
// unless the image is sound. Does nothing when no checker is built.
void expectSoundImage(const std::string& imagePath);

}  // namespace fs5::test

#endif  // FS5_TESTS_SUPPORT_TESTSUPPORT_H_
