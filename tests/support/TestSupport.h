// Helpers shared by the tests and the fuzzers: temporary folders, byte access to image files,
// whole sessions run in-process, a stream on an image with a console of its own, and the
// files an image holds.
#ifndef FS5_TESTS_SUPPORT_TESTSUPPORT_H_
#define FS5_TESTS_SUPPORT_TESTSUPPORT_H_

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "storage/DiskStream.h"
#include "storage/Inode.h"

namespace fs5::test {

inline constexpr const char* kRootPassword = "secret1";
// The console's screen clearing: 25 line ends.
inline const std::string kClear(25, '\n');

// A fresh temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void poke(const std::string& path, int64_t offset, const std::vector<uint8_t>& bytes);
// Pokes {"poke", REGION, N, OFFSET, hex bytes...} into record N of a standard image, REGION
// being header, imap, bmap, umap, inode or block and OFFSET counted from the record's start.
void pokeRecord(const std::string& path, const std::vector<std::string>& words);

// Runs the whole program on the image file, `input` typed at its console (both output
// streams dropped); returns its exit status.
int runSession(const std::string& image, const std::string& input);

// The bytes of a freshly formatted standard image (root's password kRootPassword).
const std::vector<uint8_t>& standardImage();

// A stream on an image file whose console reads `input` and keeps both output streams.
struct ImageStream {
  std::istringstream in;
  std::ostringstream out;
  Console con{in, out, out};
  FileDiskStream ds;
  explicit ImageStream(const std::string& path, const std::string& input = "");
};

// Makes an account as adduser would (user number, account file, home folder).
void addAccount(DiskStream& ds, const std::string& name, const std::string& password);

// Every file (not folder) of the image whose i-node is in use, in i-node order: its record and
// its content up to the end mark.
std::vector<std::pair<Inode, std::string>> imageFiles(const std::string& image);

// The checker's problem lines for the image file (one line when it can not be read).
std::vector<std::string> checkImageProblems(const std::string& path);

}  // namespace fs5::test

#endif  // FS5_TESTS_SUPPORT_TESTSUPPORT_H_
