#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fsops/Create.h"
#include "shell/Program.h"
#include "storage/AllocMaps.h"
#include "tools/fs5ck/Checker.h"
#include "users/AccountStore.h"

namespace fs5::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "fs5test.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void poke(const std::string& path, int64_t offset, const std::vector<uint8_t>& bytes) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(offset);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void pokeRecord(const std::string& path, const std::vector<std::string>& d) {
  DiskLayout l = DiskLayout::forCounts(100, 1000, 100);
  int n = std::stoi(d[2]);
  int64_t base = d[1] == "imap"    ? l.inodeMapStart + n
                 : d[1] == "bmap"  ? l.blockMapStart + n
                 : d[1] == "umap"  ? l.userMapStart + n
                 : d[1] == "inode" ? *l.inodeOffset(n)
                 : d[1] == "block" ? *l.blockOffset(n)
                                   : 0;
  std::vector<uint8_t> bytes;
  for (std::size_t i = 4; i < d.size(); ++i) bytes.push_back(std::stoi(d[i], nullptr, 16));
  poke(path, base + std::stoi(d[3]), bytes);
}

const std::vector<uint8_t>& standardImage() {
  static const std::vector<uint8_t> bytes = [] {
    TempDir dir;
    std::istringstream in(std::string(kRootPassword) + "\n\nexit\n");
    std::ostringstream out;
    Console con(in, out, out);
    runProgram(con, dir.file("disk.fs5"));
    return readBytes(dir.file("disk.fs5"));
  }();
  return bytes;
}

ImageStream::ImageStream(const std::string& path, const std::string& input)
    : in(input), ds(con, path) {
  ds.loadLayout();
}

void addAccount(DiskStream& ds, const std::string& name, const std::string& password) {
  int16_t number = allocUserNumber(ds);
  addUserRecord(ds, name, password, number);
  createFolder(ds, false, number, "/home/" + name);
}

std::vector<std::string> checkImageProblems(const std::string& path) {
  CheckReport report = checkImageFile(path);
  if (!report.readable) return {report.failure};
  return report.problems;
}

}  // namespace fs5::test
