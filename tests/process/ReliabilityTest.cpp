// One session through every command, run again and again: with each call on the image and its
// journal failing in turn, cut by a power loss after each of them, and with the input cut short
// at every byte; and the repair of fs5ck cut short.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <functional>

#include "fsops/Create.h"
#include "fsops/Write.h"
#include "shell/Program.h"
#include "storage/Inode.h"
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

struct SessionRun {
  int status = 0;
  std::string screen;  // both streams, in the order printed
  long calls = 0;
};

// Runs `input` on a fresh image whose `failAt`th host call fails. Before each read of the
// console the stretch ends and `atRead` is called with the stream and its calls before that
// end.
SessionRun runSession(const std::string& image, const std::string& input, long failAt,
                      const std::function<void(TestDiskStream&, long)>& atRead = {},
                      std::vector<HostCall>* record = nullptr) {
  writeBytes(image, standardImage());
  std::remove((image + "-journal").c_str());
  std::istringstream in(input);
  std::ostringstream out;
  Console con(in, out, out);
  SessionRun run;
  {
    TestDiskStream ds(con, image, failAt);
    ds.record = record;
    con.setBeforeInput([&] {
      long calls = ds.calls;
      ds.releaseLock();
      if (atRead) atRead(ds, calls);
    });
    run.status = runProgram(con, ds);
    ds.releaseLock();
    run.calls = ds.calls;
  }
  run.screen = out.str();
  return run;
}

// Takes the image's lock as the next console would, which rolls back a journal left behind.
void recover(const std::string& image) {
  std::istringstream in;
  std::ostringstream out;
  Console con(in, out, out);
  TestDiskStream ds(con, image);
  ds.size();
}

// The first failed call ends the program: its line is the last thing printed, status 1, and
// the console is not read again. The next lock rolls the stretch back: the image is as it was
// when the console last waited, not even a leak left (or, when only the last sync of the
// commit failed, as the stretch left it, whole).
TEST(Reliability, EveryFailedCallEndsTheProgramAtOnceAndLeavesNoTrace) {
  TempDir dir;
  const std::string image = dir.file("i");
  std::vector<std::pair<long, std::vector<uint8_t>>> shown = {{0, standardImage()}};
  SessionRun whole = runSession(image, kSession, -1, [&](TestDiskStream& ds, long) {
    shown.push_back({ds.calls, readBytes(image)});
  });
  ASSERT_EQ(whole.status, 0);
  ASSERT_GT(whole.calls, 200);
  const std::string line = "The disk image can not be read or written.\n";
  for (long n = 1, faults = 0; n <= whole.calls && faults < 5; ++n) {
    long readsAfter = 0;
    SessionRun cut = runSession(image, kSession, n,
                                [&](TestDiskStream&, long calls) { readsAfter += calls >= n; });
    bool last =
        cut.screen.ends_with(line) && cut.screen.find(line) == cut.screen.size() - line.size();
    recover(image);
    auto before = std::prev(
        std::find_if(shown.begin(), shown.end(), [n](const auto& s) { return s.first >= n; }));
    std::vector<uint8_t> after = readBytes(image);
    bool kept = after == before->second || (before + 1 != shown.end() && after == before[1].second);
    faults += cut.status != 1 || !last || readsAfter > 0 || !kept;
    EXPECT_TRUE(cut.status == 1 && last && readsAfter == 0 && kept)
        << "call " << n << ": status " << cut.status << ", " << readsAfter << " reads after, "
        << (kept ? "" : "the image is neither as last shown nor as the stretch left it\n")
        << cut.screen;
  }
}

// Each stretch that changes the image makes at most 3 syncs, one that only reads makes none,
// and with FS5_SYNC=off none makes any.
TEST(Reliability, SyncsPerStretch) {
  TempDir dir;
  std::vector<HostCall> calls;
  std::vector<std::size_t> marks = {0};
  runSession(
      dir.file("i"), kSession, -1, [&](TestDiskStream&, long) { marks.push_back(calls.size()); },
      &calls);
  marks.push_back(calls.size());
  int writing = 0;
  for (std::size_t k = 0; k + 1 < marks.size(); ++k) {
    int syncs = 0, writes = 0;
    for (std::size_t i = marks[k]; i < marks[k + 1]; ++i) {
      syncs += calls[i].kind == HostCall::kSync;
      writes += calls[i].kind != HostCall::kSync;
    }
    writing += writes > 0;
    EXPECT_EQ(syncs, writes > 0 ? 3 : 0) << "stretch " << k;
  }
  EXPECT_EQ(writing, 17);
  setenv("FS5_SYNC", "off", 1);
  calls.clear();
  runSession(dir.file("i"), kSession, -1, {}, &calls);
  unsetenv("FS5_SYNC");
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const HostCall& c) { return c.kind == HostCall::kSync; }),
            0);
  EXPECT_GT(calls.size(), 50u);
}

// A power loss after any call, with the synced bytes kept and each unsynced page keeping some
// of its writes, leaves, once the next console has taken the lock, the image the person was
// last shown or the one the stretch in progress was making, whole.
TEST(Reliability, PowerLossLeavesAStateThePersonWasShown) {
  TempDir dir;
  const std::string image = dir.file("i"), lost = dir.file("lost");
  std::vector<HostCall> calls;
  std::vector<std::size_t> marks = {0};
  std::vector<std::vector<uint8_t>> shown = {standardImage()};
  runSession(
      image, kSession, -1,
      [&](TestDiskStream&, long) {
        marks.push_back(calls.size());
        shown.push_back(readBytes(image));
      },
      &calls);
  marks.push_back(calls.size());
  shown.push_back(readBytes(image));
  ASSERT_GT(calls.size(), 50u);
  std::vector<std::vector<std::string>> problems;
  for (const auto& s : shown) writeBytes(lost, s), problems.push_back(checkImageProblems(lost));
  std::mt19937 random(1);
  int faults = 0;
  for (std::size_t count = 0, k = 0; count <= calls.size() && faults < 5; ++count) {
    while (k + 1 < marks.size() && marks[k + 1] <= count) ++k;
    for (int variant = 0; variant < 3; ++variant) {
      DiskFiles files = afterPowerLoss({standardImage(), {}}, calls, count, random, variant == 0);
      writeBytes(lost, files.image);
      writeBytes(lost + "-journal", files.journal);
      recover(lost);
      std::vector<uint8_t> after = readBytes(lost);
      std::size_t state = after == shown[k] ? k : k + 1;
      bool known = state < shown.size() && after == shown[state];
      bool sound = known && checkImageProblems(lost) == problems[state];
      faults += !known || !sound;
      EXPECT_TRUE(known && sound) << "power lost after call " << count << " of " << calls.size()
                                  << ", variant " << variant << (known ? ": unsound" : "");
    }
  }
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
      writeFile(io.ds, f);
    }
    Inode a, b;
    a.read(io.ds, 20);
    b.read(io.ds, 21);
    b.removeLastBlock();
    b.appendBlock(a.getBlock(0));
    b.write(io.ds);
  }
  std::vector<uint8_t> before = readBytes(damaged);
  writeBytes(whole, before);
  std::ostringstream out, err;
  ASSERT_EQ(runChecker({"-y", whole}, out, err), 1);
  ASSERT_EQ(checkImageProblems(whole), std::vector<std::string>{});
  std::vector<HostCall> calls;
  {
    std::istringstream in;
    Console con(in, out, out);
    TestDiskStream ds(con, damaged);
    ds.record = &calls;
    ds.loadLayout();
    repairImage(ds, RepairMode::kAll);
    ds.commit();
  }
  // the journal, the image, the journal zeroed: each written and synced
  ASSERT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const HostCall& c) { return c.kind == HostCall::kSync; }),
            3);
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

// A stretch cut after its journal was synced and the image written, before the image's
// sync: fs5ck -n reads the image as the rollback will leave it and says so; fs5ck -p rolls it
// back. The journal has the image's permissions and stays, invalidated.
TEST(Reliability, PendingJournalIsShownByTheCheckAndRolledBackByTheRepair) {
  TempDir dir;
  const std::string image = dir.file("i");
  writeBytes(image, standardImage());
  chmod(image.c_str(), 0640);
  {
    std::istringstream in;
    std::ostringstream out;
    Console con(in, out, out);
    TestDiskStream ds(con, image, 4, true);
    ds.loadLayout();
    createFolder(ds, false, 0, "/tmp/x");
    EXPECT_FALSE(ds.commit());
  }
  EXPECT_NE(readBytes(image), standardImage());
  struct stat st;
  ASSERT_EQ(stat((image + "-journal").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  const std::string summary =
      image + ": folders 19, files 1, used i-nodes 20, used datablocks 26, accounts 1";
  for (const char* mode : {"-n", "-p"}) {
    std::ostringstream out, err;
    int status = runChecker({mode, image}, out, err);
    std::string said = mode == std::string("-n") ? "is pending; it will be" : "was";
    EXPECT_EQ(out.str(), image + ": an interrupted change " + said + " rolled back.\n" + summary +
                             ", problems 0\n");
    EXPECT_EQ(std::tuple(status, err.str()), std::tuple(0, ""));
  }
  EXPECT_EQ(readBytes(image), standardImage());
  std::vector<uint8_t> journal = readBytes(image + "-journal");
  ASSERT_GE(journal.size(), 32u);
  EXPECT_EQ(std::vector<uint8_t>(journal.begin(), journal.begin() + 32), std::vector<uint8_t>(32));
}

// A lock that can not be taken for a reason other than another console's use stops the
// program with its reason, status 1.
TEST(Reliability, LockThatCanNotBeTakenEndsTheProgram) {
  TempDir dir;
  writeBytes(dir.file("i"), standardImage());
  std::istringstream in("root\nsecret1\n");
  std::ostringstream out;
  Console con(in, out, out);
  TestDiskStream ds(con, dir.file("i"));
  ds.lockError = ENOLCK;
  EXPECT_EQ(runProgram(con, ds), 1);
  EXPECT_EQ(out.str(), "The disk image can not be locked: no locks available.\n");
}

// Input that ends anywhere ends the program with status 0, or 1 inside the superuser
// password of the formatting, which then leaves no superuser account and nothing else wrong.
TEST(Reliability, InputEndingAtEveryByteLeavesASoundImage) {
  TempDir dir;
  std::size_t password = kSession.find("mkfs\n\n") + 6;
  for (std::size_t cut = 0, faults = 0; cut <= kSession.size() && faults < 5; ++cut) {
    int status = runSession(dir.file("i"), kSession.substr(0, cut), -1).status;
    bool inPassword = cut >= password && cut < password + 6;
    std::vector<std::string> expected;
    if (inPassword) expected = {"user number 0: the superuser's number is held by no account."};
    auto got = std::tuple(status, checkImageProblems(dir.file("i")));
    faults += got != std::tuple(int(inPassword), expected);
    EXPECT_EQ(got, std::tuple(int(inPassword), expected)) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace fs5::test
