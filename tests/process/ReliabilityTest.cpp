// One session through every command, run again and again: with each call on the image and its
// journal failing in turn, cut by a power loss after each of them, and with the input cut short
// at every byte; and the repair of fs5ck cut short.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "fsops/Create.h"
#include "fsops/Write.h"
#include "shell/Program.h"
#include "tests/support/TestDiskStream.h"
#include "tests/support/TestSupport.h"
#include "tools/fs5ck/Checker.h"
#include "tools/fs5ck/Repair.h"

namespace fs5::test {
namespace {

const std::string kSession =
    "root\nsecret1\nmkdir /tmp/d\n\nvi /tmp/d/f\n\nvi -i /tmp/d/f\nSome text.\x1b\n\n"
    "cat /tmp/d/f\n\nls -l /tmp\n\ncd /tmp/d\nvi g\n\ncp f g\n\ncp -R /tmp/d /home\n\n"
    "mv g h\n\nchmod o-r f\n\nadduser anna\nannapw1\n\nrm f\n\n\nrmdir /home/d\n\n\n"
    "reenter\nanna\nannapw1\nmkdir work\n\nreenter\nroot\nsecret1\ncd /home/anna/work\n"
    "chown root\n\ndeluser anna\n\nmkfs\n\nsecret2\n\nexit\n";

bool isSync(const HostCall& c) { return c.kind == HostCall::kSync; }

// The image and the screen at a read of the console, and the calls made and recorded before it.
struct Shown {
  long calls;
  std::size_t recorded;
  std::vector<uint8_t> image;
  std::string screen;
};

// Runs `input` on a fresh image whose `failAt`th host call fails: the status, both streams
// merged in the order printed, and the calls made. Before each read of the console the
// stretch ends; `readsAfter` counts the reads begun once the failing call was made, `shown`
// gets the image as the person saw it then (and at the start and the end), `record` the
// calls that change the files.
std::tuple<int, std::string, long> runSession(const std::string& image, const std::string& input,
                                              long failAt, long* readsAfter = nullptr,
                                              std::vector<Shown>* shown = nullptr,
                                              std::vector<HostCall>* record = nullptr) {
  writeBytes(image, standardImage());
  std::remove((image + "-journal").c_str());
  TestImage t(image, failAt, input);
  t.ds.record = record;
  auto show = [&] {
    if (shown)
      shown->push_back({t.ds.calls, record ? record->size() : 0, readBytes(image), t.out.str()});
  };
  show();
  t.con.setBeforeInput([&] {
    if (readsAfter) *readsAfter += failAt > 0 && t.ds.calls >= failAt;
    t.ds.releaseLock();
    t.con.flush();  // as the console does next
    show();
  });
  int status = runProgram(t.con, t.ds);
  t.ds.releaseLock();
  show();
  return {status, t.out.str(), t.ds.calls};
}

// The first failed call ends the program: its line is the last thing printed and all that is
// shown of its stretch, status 1, and the console is not read again; so does a lock that can
// not be taken. The next lock rolls the
// stretch back: the image is as it was when the console last waited, not even a leak left (or, when
// only the last sync of the commit failed, as the stretch left it, whole).
TEST(Reliability, EveryFailedCallEndsTheProgramAtOnceAndLeavesNoTrace) {
  TempDir dir;
  const std::string image = dir.file("i");
  std::vector<Shown> shown;
  long calls = std::get<2>(runSession(image, kSession, -1, nullptr, &shown));
  ASSERT_GT(calls, 200);
  const std::string line = "The disk image can not be read or written.\n";
  for (long n = 1, faults = 0; n <= calls && faults < 5; ++n) {
    long readsAfter = 0;
    auto [status, screen, _] = runSession(image, kSession, n, &readsAfter);
    bool last = screen.ends_with(line) && screen.find(line) == screen.size() - line.size();
    { ImageStream next(image); }
    auto stretch =
        std::find_if(shown.begin(), shown.end(), [n](const Shown& s) { return s.calls >= n; });
    std::vector<uint8_t> after = readBytes(image);
    bool kept = after == stretch[-1].image || (stretch != shown.end() && after == stretch->image);
    last = last && screen == stretch[-1].screen + line;
    faults += status != 1 || !last || readsAfter > 0 || !kept;
    EXPECT_TRUE(status == 1 && last && readsAfter == 0 && kept)
        << "call " << n << ": status " << status << ", " << readsAfter << " reads after, "
        << (kept ? "" : "the image is neither as last shown nor as the stretch left it\n")
        << screen;
  }
  TestImage t(image, -1, kSession);  // a lock refused for another reason than a console
  t.ds.lockError = ENOLCK;
  int status = runProgram(t.con, t.ds);
  EXPECT_EQ(std::tuple(status, t.out.str()),
            std::tuple(1, "The disk image can not be locked: no locks available.\n"));
}

// A power loss after any call, with the synced bytes kept and each unsynced page keeping some
// of its writes, leaves, once the next console has taken the lock, the image the person was
// last shown or the one the stretch in progress was making, whole. A stretch that changes the
// image makes 3 syncs, one that only reads none, and with FS5_SYNC=off none makes any.
TEST(Reliability, PowerLossLeavesAStateThePersonWasShown) {
  TempDir dir;
  const std::string lost = dir.file("lost");
  std::vector<HostCall> calls;
  std::vector<Shown> shown;
  runSession(dir.file("i"), kSession, -1, nullptr, &shown, &calls);
  int writing = 0;
  for (std::size_t k = 1; k < shown.size(); ++k) {
    auto from = calls.begin() + shown[k - 1].recorded, to = calls.begin() + shown[k].recorded;
    writing += from != to;
    EXPECT_EQ(std::count_if(from, to, isSync), from != to ? 3 : 0) << "stretch " << k;
  }
  EXPECT_EQ(writing, 16);  // vi -i erases and saves in one stretch, after the typing
  std::vector<std::vector<std::string>> problems;
  for (const Shown& s : shown) {
    writeBytes(lost, s.image);
    problems.push_back(checkImageProblems(lost));
  }
  std::mt19937 random(1);
  for (std::size_t count = 0, k = 0, faults = 0; count <= calls.size() && faults < 5; ++count) {
    while (k + 1 < shown.size() && shown[k + 1].recorded <= count) ++k;
    for (int variant = 0; variant < 3; ++variant) {
      DiskFiles files = afterPowerLoss({standardImage(), {}}, calls, count, random, variant == 0);
      writeBytes(lost, files.image);
      writeBytes(lost + "-journal", files.journal);
      { ImageStream next(lost); }
      std::vector<uint8_t> after = readBytes(lost);
      std::size_t state = after == shown[k].image ? k : k + 1;
      bool known = state < shown.size() && after == shown[state].image &&
                   checkImageProblems(lost) == problems[state];
      faults += !known;
      EXPECT_TRUE(known) << "power lost after call " << count << " of " << calls.size()
                         << ", variant " << variant;
    }
  }
  setenv("FS5_SYNC", "off", 1);
  calls.clear();
  runSession(dir.file("i"), kSession, -1, nullptr, nullptr, &calls);
  unsetenv("FS5_SYNC");
  EXPECT_EQ(std::tuple(std::count_if(calls.begin(), calls.end(), isSync), calls.size() > 50),
            std::tuple(0, true));
}

// An image where /tmp/b lists /tmp/a's datablock (its own leaked): the repair copies the
// shared datablock. fs5ck -y stopped after any of its writes and syncs (all the writes before
// kept, or each unsynced page keeping some of them), then run again, leaves the image an
// uninterrupted fs5ck -y leaves.
TEST(Reliability, RepairCutShortRepairsTheSameWayWhenRunAgain) {
  TempDir dir;
  const std::string damaged = dir.file("damaged"), whole = dir.file("whole");
  writeBytes(damaged, standardImage());
  {
    ImageStream io(damaged, "hello\x1b\nworld\x1b\n");
    for (const char* f : {"/tmp/a", "/tmp/b"}) {
      createFile(io.ds, false, 0, f);
      writeFile(io.ds, lookup(io.ds, true, f));
    }
  }
  pokeRecord(damaged, {"poke", "inode", "21", "6", "1a", "00"});  // b's block slot: a's 26
  ASSERT_EQ(checkImageProblems(damaged).size(), 2u);              // 26 listed twice, 27 leaked
  std::vector<uint8_t> before = readBytes(damaged);
  writeBytes(whole, before);
  std::ostringstream out, err;
  ASSERT_EQ(runChecker({"-y", whole}, out, err), 1);
  std::vector<HostCall> calls;
  {
    TestImage t(damaged);
    t.ds.record = &calls;
    t.ds.loadLayout();
    repairImage(t.ds, RepairMode::kAll);
    t.ds.commit();
  }
  // the journal, the image, the journal zeroed: each written and synced
  ASSERT_EQ(std::count_if(calls.begin(), calls.end(), isSync), 3);
  std::mt19937 random(1);
  for (std::size_t count = 0; count <= calls.size(); ++count) {
    for (int variant = 0; variant < 4; ++variant) {
      DiskFiles files = afterPowerLoss({before, {}}, calls, count, random, variant == 0);
      writeBytes(damaged, files.image);
      writeBytes(damaged + "-journal", files.journal);
      int status = runChecker({"-y", damaged}, out, err);
      EXPECT_TRUE(readBytes(damaged) == readBytes(whole) && status <= 1)
          << "stopped after call " << count << ", variant " << variant << ": status " << status;
    }
  }
}

// A stretch that empties the image, cut after its journal was synced and the image cut,
// before the image's sync (a failing call, as a power loss that kept the truncate): fs5ck -n
// reads the image as the rollback will leave it and says so; fs5ck -p rolls it back, the
// length too. The journal has the image's permissions and stays, invalidated.
TEST(Reliability, PendingJournalIsShownByTheCheckAndRolledBackByTheRepair) {
  TempDir dir;
  const std::string image = dir.file("i");
  writeBytes(image, standardImage());
  chmod(image.c_str(), 0640);
  {
    TestImage t(image);
    t.ds.resize(0);
    t.ds.failAt = t.ds.calls + 4;  // after the journal's write and sync and the image's truncate
    EXPECT_FALSE(t.ds.commit());
  }
  EXPECT_EQ(readBytes(image).size(), 0u);
  EXPECT_EQ(std::filesystem::status(image + "-journal").permissions(),
            std::filesystem::perms(0640));
  for (const char* mode : {"-n", "-p"}) {
    std::ostringstream out, err;
    int status = runChecker({mode, image}, out, err);
    std::string said = mode == std::string("-n") ? "is pending; it will be" : "was";
    std::string expected = image + ": an interrupted change " + said + " rolled back.\n" + image +
                           ": folders 19, files 1, used i-nodes 20, used datablocks 26, "
                           "accounts 1, problems 0\n";
    EXPECT_EQ(std::tuple(status, out.str(), err.str()), std::tuple(0, expected, ""));
  }
  EXPECT_EQ(readBytes(image), standardImage());
  std::vector<uint8_t> journal = readBytes(image + "-journal");
  journal.resize(32);
  EXPECT_EQ(journal, std::vector<uint8_t>(32));
}

// Input that ends anywhere ends the program with status 0, or 1 inside the superuser
// password of the formatting, which then leaves the image empty (the next start formats it).
TEST(Reliability, InputEndingAtEveryByteLeavesASoundImage) {
  TempDir dir;
  std::size_t password = kSession.find("mkfs\n\n") + 6;
  for (std::size_t cut = 0, faults = 0; cut <= kSession.size() && faults < 5; ++cut) {
    int status = std::get<0>(runSession(dir.file("i"), kSession.substr(0, cut), -1));
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
