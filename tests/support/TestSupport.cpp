#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "fsops/Create.h"
#include "shell/Program.h"
#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
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
  // clang-format off
  const std::map<std::string, std::optional<int64_t>> recordStart = {
      {"header", 0}, {"imap", l.inodeMapByte(n)}, {"bmap", l.blockMapByte(n)},
      {"umap", l.userMapByte(n)}, {"inode", l.inodeOffset(n)}, {"block", l.blockOffset(n)}};
  // clang-format on
  std::vector<uint8_t> bytes;
  for (std::size_t i = 4; i < d.size(); ++i) bytes.push_back(std::stoi(d[i], nullptr, 16));
  poke(path, recordStart.at(d[1]).value() + std::stoi(d[3]), bytes);
}

int runSession(const std::string& image, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Console con(in, out, out);
  return runProgram(con, image);
}

const std::vector<uint8_t>& standardImage() {
  static const std::vector<uint8_t> bytes = [] {
    TempDir dir;
    runSession(dir.file("disk.fs5"), std::string(kRootPassword) + "\n\nexit\n");
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

std::vector<std::pair<Inode, std::string>> imageFiles(const std::string& image) {
  ImageStream io(image);
  std::vector<std::pair<Inode, std::string>> files;
  for (int n = 0; n < io.ds.layout().inodeCount(); ++n) {
    Inode node;
    if (!isInodeUsed(io.ds, n) || node.read(io.ds, n) < 0 || !node.isFile()) continue;
    std::string content;
    for (int b = 0; b < node.getBlockCount(); ++b) {
      DataBlock block;
      block.read(io.ds, node.getBlock(b));
      content.append(block.bytes().begin(), block.bytes().end());
    }
    files.push_back({node, content.substr(0, content.find('\x1b'))});
  }
  return files;
}

std::vector<std::string> checkImageProblems(const std::string& path) {
  CheckReport report = checkImageFile(path);
  if (!report.readable) return {report.failure};
  return report.problems;
}

}  // namespace fs5::test
