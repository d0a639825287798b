// One session through every command, run again and again: with each image access failing in
// turn, and with the input cut short at every byte.
#include <gtest/gtest.h>

#include <set>

#include "shell/Program.h"
#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Repair.h"

namespace fs5::test {
namespace {

const std::string kSession =
    "root\nsecret1\nmkdir /tmp/d\n\nvi /tmp/d/f\n\nvi -i /tmp/d/f\nSome text.\x1b\n\n"
    "cat /tmp/d/f\n\nls -l /tmp\n\ncd /tmp/d\nvi g\n\ncp f g\n\ncp -R /tmp/d /home\n\n"
    "mv g h\n\nchmod o-r f\n\nadduser anna\nannapw1\n\nrm f\n\n\nrmdir /home/d\n\n\n"
    "reenter\nanna\nannapw1\nmkdir work\n\nreenter\nroot\nsecret1\ncd /home/anna/work\n"
    "chown root\n\ndeluser anna\n\nmkfs\n\nsecret2\n\nexit\n";

// An image stream whose `failAt`th access fails (reads, writes and size queries counted, or
// writes alone), and every one after it, as when the disk fails or the power goes.
struct FailingDiskStream : FileDiskStream {
  FailingDiskStream(Console& con, const std::string& path, long failAt, bool writesOnly)
      : FileDiskStream(con, path), failAt(failAt), writesOnly(writesOnly) {}
  bool pass(bool isWrite) { return (writesOnly && !isWrite) || ++accesses < failAt || failAt < 0; }
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override {
    return pass(false) && FileDiskStream::readAt(offset, buf, n);
  }
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override {
    return pass(true) && FileDiskStream::writeAt(offset, buf, n);
  }
  int64_t fileSize() override { return pass(false) ? FileDiskStream::fileSize() : -1; }
  long failAt, accesses = 0;
  bool writesOnly;
};

// Runs the session's `input` on a fresh image: the status, both streams merged in the order
// printed, and the accesses (or writes) counted. `atRead` is called before each read of the
// console, with the accesses so far.
std::tuple<int, std::string, long> runFailing(const std::string& image, const std::string& input,
                                              long failAt, bool writesOnly = false,
                                              const std::function<void(long)>& atRead = {}) {
  writeBytes(image, standardImage());
  std::istringstream in(input);
  std::ostringstream out;
  Console con(in, out, out);
  FailingDiskStream ds(con, image, failAt, writesOnly);
  if (atRead) con.setBeforeInput([&] { ds.releaseLock(), atRead(ds.accesses); });
  int status = runProgram(con, ds);
  return {status, out.str(), ds.accesses};
}

// Every file of the image as "owner rights content", its content up to the end mark.
std::multiset<std::string> filesOf(const std::string& image) {
  ImageStream io(image);
  std::multiset<std::string> files;
  for (int n = 0; n < io.ds.layout().inodeCount(); ++n) {
    Inode node;
    if (!isInodeUsed(io.ds, n) || node.read(io.ds, n) < 0 || !node.isFile()) continue;
    std::string s = std::to_string(node.getOwner()) + " " + std::to_string(node.getRights()) + " ";
    for (int b = 0; b < node.getBlockCount(); ++b) {
      DataBlock block;
      block.read(io.ds, node.getBlock(b));
      s.append(block.bytes().begin(), block.bytes().end());
    }
    files.insert(s.substr(0, s.find('\x1b')));
  }
  return files;
}

// The first failed access ends the program: its line is the last thing printed, status 1,
// and the console is not read again.
TEST(Reliability, EveryFailedAccessEndsTheProgramAtOnce) {
  TempDir dir;
  auto [status, out, accesses] = runFailing(dir.file("i"), kSession, -1);
  ASSERT_EQ(status, 0);
  ASSERT_GT(accesses, 1000);
  const std::string line = "The disk image can not be read or written.\n";
  for (long n = 1, faults = 0; n <= accesses && faults < 5; ++n) {
    long readsAfter = 0;
    auto [status, out, _] =
        runFailing(dir.file("i"), kSession, n, false, [&](long done) { readsAfter += done >= n; });
    bool last = out.ends_with(line) && out.find(line) == out.size() - line.size();
    faults += status != 1 || !last || readsAfter > 0;
    EXPECT_TRUE(status == 1 && last && readsAfter == 0)
        << "access " << n << ": " << status << ", " << readsAfter << " reads after\n"
        << out;
  }
}

// Stopped before any of its writes, the session leaves no map byte saying free under a
// record that something still lists or names: at worst a leak. fs5ck -y then makes the image
// sound, and every file that the interrupted stretch of work (between two reads of the
// console) did not change or delete is still there, with its content, owner and rights.
TEST(Reliability, InterruptedWritesLeaveAtWorstALeakThatTheRepairMends) {
  TempDir dir;
  std::vector<std::pair<long, std::multiset<std::string>>> atReads;
  long writes = std::get<2>(runFailing(dir.file("i"), kSession, -1, true, [&](long done) {
    atReads.push_back({done, filesOf(dir.file("i"))});
  }));
  atReads.push_back({writes + 1, filesOf(dir.file("i"))});
  ASSERT_GT(writes, 50);
  for (long k = 1, stretch = 0; k <= writes; ++k) {
    while (atReads[stretch + 1].first < k) ++stretch;
    runFailing(dir.file("i"), kSession, k, true);
    for (const std::string& p : checkImageProblems(dir.file("i")))
      EXPECT_EQ(p.find(" free "), std::string::npos) << "stopped before write " << k << ": " << p;
    repairImageFile(dir.file("i"), RepairMode::kAll);
    EXPECT_EQ(checkImageProblems(dir.file("i")), std::vector<std::string>{}) << "write " << k;
    std::multiset<std::string> kept, after = filesOf(dir.file("i")), missing;
    std::set_intersection(atReads[stretch].second.begin(), atReads[stretch].second.end(),
                          atReads[stretch + 1].second.begin(), atReads[stretch + 1].second.end(),
                          std::inserter(kept, kept.begin()));
    std::set_difference(kept.begin(), kept.end(), after.begin(), after.end(),
                        std::inserter(missing, missing.begin()));
    EXPECT_TRUE(missing.empty()) << "stopped before write " << k << ": a file lost";
  }
}

// Input that ends anywhere ends the program with status 0, or 1 inside the superuser
// password of the formatting, which then leaves the image empty (the next start formats it).
TEST(Reliability, InputEndingAtEveryByteLeavesASoundImage) {
  TempDir dir;
  std::size_t password = kSession.find("mkfs\n\n") + 6;
  for (std::size_t cut = 0, faults = 0; cut <= kSession.size() && faults < 5; ++cut) {
    int status = std::get<0>(runFailing(dir.file("i"), kSession.substr(0, cut), -1));
    bool inPassword = cut >= password && cut < password + 6;
    std::vector<std::string> expected;
    if (inPassword) expected = {"the image is shorter than its header."};
    auto got = std::tuple(status, checkImageProblems(dir.file("i")));
    faults += got != std::tuple(int(inPassword), expected);
    EXPECT_EQ(got, std::tuple(int(inPassword), expected)) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace fs5::test
