// What the fuzzers run and judge, shared by the libFuzzer targets in fuzz/targets/ and by the
// tests that replay the committed corpora. Each harness takes one input and answers "" when
// every promise held, or a line saying which one broke.
//
//   SessionHarness: the input is console input typed after logging in as root on a freshly
//     formatted image (the image is formatted once and copied before every run). The program
//     must end with status 0 (1 only after an interrupted formatting) and the checker must find
//     the image sound; account problems alone are accepted when the input took the superuser's
//     account away, interrupted a formatting or named the account folder "passwd" itself.
//   ImageHarness: a formatted image with users, folders and files has its bytes after the
//     header replaced by the input (bytes past the input's end stay); a fixed script of
//     commands then runs on it. The program must end with status 0 or 1, the file keep its
//     size, and the bytes past the datablock area stay as they were.
//   checkParser: path texts and command lines through PathName and ShellState, with the
//     promises of their headers checked after every operation.
#ifndef FS5_FUZZ_HARNESS_H_
#define FS5_FUZZ_HARNESS_H_

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/Console.h"
#include "path/PathName.h"
#include "shell/Program.h"
#include "shell/ShellState.h"
#include "storage/Layout.h"
#include "tools/fs5ck/Checker.h"
#include "tools/fs5ck/ReadOnlyDiskStream.h"
#include "users/AccountStore.h"

namespace fs5::fuzz {

inline constexpr const char* kRootPassword = "secret1";
// Bytes kept after the image's regions; no command may change them.
inline constexpr std::size_t kTailSize = 1024;
inline constexpr uint8_t kTailByte = 0xA5;

inline std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A temporary folder holding one image, removed at the end.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fs5fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::string image() const { return dir_ + "/disk.fs5"; }

 private:
  std::string dir_;
};

struct ProgramRun {
  int status = 0;
  std::string out;
  std::string err;
};

// The whole program over `input` on the image file, both streams captured.
inline ProgramRun runProgramOn(const std::string& image, std::string_view input) {
  std::istringstream in{std::string(input)};
  std::ostringstream out, err;
  Console con(in, out, err);
  ProgramRun r;
  r.status = runProgram(con, image);
  r.out = out.str();
  r.err = err.str();
  return r;
}

inline std::string joinLines(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& l : lines) all += "\n  " + l;
  return all;
}

// Problems of the account pass: the account folder, its files and the user numbers they hold
// (a user map byte other than 0 or 1 is a map problem, not an account one).
inline bool isAccountProblem(const std::string& line) {
  if (line.starts_with("/etc/passwd")) return true;
  return line.starts_with("user number ") && line.find(": map byte is ") == std::string::npos;
}

// True when the image's account "root" exists and holds user number 0.
inline bool superuserAccountHolds(const std::string& image) {
  std::istringstream in;
  std::ostringstream discarded;
  Console con(in, discarded, discarded);
  ReadOnlyDiskStream ds(con, image);
  if (!ds.isOpen() || !ds.loadLayout() || !ds.layout().isValid()) return false;
  UserRecord record;
  return findUserRecord(ds, "root", record) == 0 && record.number == SUPERUSER;
}

// Formats a new image at `image`; aborts when that fails (nothing can be fuzzed then).
inline void formatNewImage(const std::string& image) {
  std::filesystem::remove(image);
  ProgramRun r = runProgramOn(image, std::string(kRootPassword) + "\n\nexit\n");
  if (r.status != 0 || !checkImageFile(image).sound()) std::abort();
}

class SessionHarness {
 public:
  SessionHarness() {
    formatNewImage(scratch_.image());
    pristine_ = readFile(scratch_.image());
  }

  std::string check(const uint8_t* data, std::size_t size) {
    std::string_view typed(reinterpret_cast<const char*>(data), size);
    writeFile(scratch_.image(), pristine_);
    ProgramRun r = runProgramOn(scratch_.image(),
                                "root\n" + std::string(kRootPassword) + "\n" + std::string(typed));
    bool formatCut = r.err.find("The superuser account was not created.") != std::string::npos;
    if (r.status != 0 && !(r.status == 1 && formatCut))
      return "exit status " + std::to_string(r.status) + ", standard error:\n" + r.err;
    CheckReport report = checkImageFile(scratch_.image());
    if (!report.readable) return "the checker can not read the image: " + report.failure;
    bool accountsExcused = formatCut || typed.find("passwd") != std::string_view::npos ||
                           !superuserAccountHolds(scratch_.image());
    std::vector<std::string> judged;
    for (const std::string& p : report.problems)
      if (!accountsExcused || !isAccountProblem(p)) judged.push_back(p);
    if (!judged.empty()) return "the image is not sound:" + joinLines(judged);
    return "";
  }

 private:
  Scratch scratch_;
  std::vector<uint8_t> pristine_;
};

// The image the image fuzzer damages: accounts anna and bob besides root, folders, files of
// one and of several datablocks, owners and rights of more than one user.
inline std::string populateInput() {
  std::string s = "root\n" + std::string(kRootPassword) + "\n";
  s += "adduser anna\nannapw1\n\n";
  s += "adduser bob\nbobpw12\n\n";
  s += "mkdir /home/anna/docs\n\n";
  s += "mkdir /home/anna/docs/old\n\n";
  s += "vi /home/anna/notes\n\n";
  s += "vi -i /home/anna/notes\nFirst line.\nSecond line.\x1b\n\n";
  s += "vi /home/anna/docs/long\n\n";
  s += "vi -i /home/anna/docs/long\n" + std::string(250, 'x') + "\x1b\n\n";
  s += "vi /home/anna/docs/old/a\n\n";
  s += "cd /home/anna/docs\nchown anna\n\n";
  s += "chmod o-r /home/anna/notes\n\n";
  s += "mkdir /home/bob/box\n\n";
  s += "cp /home/anna/notes /home/bob/box\n\n";
  s += "mkdir /tmp/shared\n\n";
  s += "exit\n";
  return s;
}

// The commands run on every damaged image: listing, moving around, reading, writing, copying,
// moving, deleting, accounts and a second login.
inline std::string imageScript() {
  std::string s = "root\n" + std::string(kRootPassword) + "\n";
  s += "ls -l /\n\n";
  s += "ls -l /home/anna\n\n";
  s += "cd /home/anna\n";
  s += "cat notes\n\n";
  s += "cat docs/long\n\n";
  s += "vi -i notes\nNew content.\x1b\n\n";
  s += "cp -R docs /tmp/shared\n\n";
  s += "cp notes /tmp\n\n";
  s += "mv /tmp/notes /tmp/shared\n\n";
  s += "mv docs/long docs/old/renamed\n\n";
  s += "rm /home/bob/box/notes\n\n\n";
  s += "rmdir /tmp/shared/docs\n\n\n";
  s += "rmdir /home/bob/box\n\n\n";
  s += "adduser carl\ncarlpw1\n\n";
  s += "deluser bob\n\n";
  s += "ls -l /home\n\n";
  s += "reenter\n";
  s += "anna\nannapw1\n";
  s += "ls -l\n\n";
  s += "cat notes\n\n";
  s += "cd docs\n";
  s += "ls\n\n";
  s += "exit\n";
  return s;
}

class ImageHarness {
 public:
  ImageHarness() {
    formatNewImage(scratch_.image());
    ProgramRun r = runProgramOn(scratch_.image(), populateInput());
    if (r.status != 0 || !checkImageFile(scratch_.image()).sound()) std::abort();
    prepared_ = readFile(scratch_.image());
    if (prepared_.size() !=
        static_cast<std::size_t>(
            DiskLayout::forCounts(STANDARD_INODES, STANDARD_BLOCKS, STANDARD_USERS).imageSize()))
      std::abort();
    prepared_.resize(prepared_.size() + kTailSize, kTailByte);
  }

  // The prepared image with its bytes from offset 10 on replaced by `data`, as far as the
  // image's regions go.
  std::vector<uint8_t> damaged(const uint8_t* data, std::size_t size) const {
    std::vector<uint8_t> bytes = prepared_;
    std::size_t room = bytes.size() - kTailSize - HEADER_SIZE;
    std::copy(data, data + std::min(size, room), bytes.begin() + HEADER_SIZE);
    return bytes;
  }

  // The input that leaves the prepared image as it is: its bytes from offset 10 to the end of
  // its last used datablock (the datablock map's last non-zero byte).
  std::vector<uint8_t> seed() const {
    DiskLayout l = DiskLayout::forCounts(STANDARD_INODES, STANDARD_BLOCKS, STANDARD_USERS);
    int last = l.blockCount() - 1;
    while (last > 0 && prepared_[l.blockMapStart + last] == 0) --last;
    std::size_t end = static_cast<std::size_t>(l.blockAreaStart) + (last + 1) * BLOCK_SIZE;
    return std::vector<uint8_t>(prepared_.begin() + HEADER_SIZE, prepared_.begin() + end);
  }

  std::string check(const uint8_t* data, std::size_t size) {
    writeFile(scratch_.image(), damaged(data, size));
    ProgramRun r = runProgramOn(scratch_.image(), imageScript());
    if (r.status != 0 && r.status != 1) return "exit status " + std::to_string(r.status);
    std::vector<uint8_t> after = readFile(scratch_.image());
    if (after.size() != prepared_.size())
      return "the image is " + std::to_string(after.size()) + " bytes long, not " +
             std::to_string(prepared_.size());
    std::size_t tail = prepared_.size() - kTailSize;
    for (std::size_t i = tail; i < after.size(); ++i)
      if (after[i] != kTailByte) return "byte " + std::to_string(i) + " past the image changed";
    return "";
  }

 private:
  Scratch scratch_;
  std::vector<uint8_t> prepared_;
};

}  // namespace fs5::fuzz

#endif  // FS5_FUZZ_HARNESS_H_
