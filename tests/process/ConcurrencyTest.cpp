// Several fs5sh processes on one image at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <thread>

#include "fsops/Lookup.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

std::string shell() { return std::string(FS5_BINARY_DIR) + "/fs5sh"; }

std::string text(const std::string& path) {
  std::vector<uint8_t> b = readBytes(path);
  return std::string(b.begin(), b.end());
}

// Whether, within 10 seconds, a process comes to wait in flock(2) for the file: a line of
// /proc/locks marked "->" (a waiter) names the file's i-node.
bool comesToWaitForLock(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  const std::regex waiter("-> FLOCK .*:" + std::to_string(st.st_ino) + " ");
  for (int tries = 0; tries < 200; ++tries) {
    if (std::regex_search(text("/proc/locks"), waiter)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// Four consoles started together, their input ready, make and delete folders in /tmp and
// rewrite a file each: the image stays sound and every file holds what its owner wrote last.
TEST(Consoles, WorkOnOneImageAtOnce) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  std::string all;
  for (int p = 1; p <= 4; ++p) {
    std::ofstream in(dir.file("in" + std::to_string(p)));
    in << "root\nsecret1\nvi f" << p << "\n\n";
    for (int i = 0; i < 15; ++i)
      in << "mkdir /tmp/d" << i << "\n\nvi -i f" << p << "\n"
         << p << "-" << i << "\x1b\n\n"
         << "ls /tmp\n\nrmdir /tmp/d" << i << "\n\n\n";
    in << "exit\n";
    all += " & " + shell() + " <in" + std::to_string(p) + " >out" + std::to_string(p) + " 2>&1";
  }
  ASSERT_EQ(std::system(("cd " + dir.path() + " && (true" + all + " & wait)").c_str()), 0);
  EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{});
  std::ofstream(dir.file("cat")) << "root\nsecret1\ncat f1\n\ncat f2\n\ncat f3\n\ncat f4\n\nexit\n";
  std::system(("cd " + dir.path() + " && " + shell() + " <cat >shown").c_str());
  std::string shown = text(dir.file("shown"));
  for (int p = 1; p <= 4; ++p)
    EXPECT_NE(shown.find("content:\n" + std::to_string(p) + "-14\n"), std::string::npos) << p;
}

// A console whose input is typed piece by piece while it runs; both its streams go to `out`.
class HeldConsole {
 public:
  HeldConsole(const TempDir& dir, const std::string& out)
      : out_(dir.file(out)),
        pipe_(popen(("cd " + dir.path() + " && " + shell() + " >" + out + " 2>&1").c_str(), "w")) {}
  ~HeldConsole() {
    if (pipe_ != nullptr) pclose(pipe_);
  }
  HeldConsole(const HeldConsole&) = delete;
  HeldConsole& operator=(const HeldConsole&) = delete;
  void type(const std::string& input) {
    std::fputs(input.c_str(), pipe_);
    std::fflush(pipe_);
  }
  // The handshake: whether, within 10 seconds, its output comes to show `shown`.
  bool comesToShow(const std::string& shown) {
    for (int tries = 0; tries < 200; ++tries) {
      if (text(out_).find(shown) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // Types the rest and waits for the program's end; its exit status.
  int finish(const std::string& input) {
    type(input);
    int status = pclose(pipe_);
    pipe_ = nullptr;
    return status;
  }

 private:
  std::string out_;
  std::FILE* pipe_;
};

// A standard image with the account alice (user number 1), whose session has run on it.
void prepareAliceImage(const TempDir& dir, const std::string& aliceSession) {
  writeBytes(dir.file("disk.fs5"), standardImage());
  {
    ImageStream io(dir.file("disk.fs5"));
    addAccount(io.ds, "alice", "alicepw");
  }
  ASSERT_EQ(runSession(dir.file("disk.fs5"), "alice\nalicepw\n" + aliceSession + "exit\n"), 0);
}

// Root's whole session, run to its end while the other console waits; its output in `out`.
int runRootConsole(const TempDir& dir, const std::string& session) {
  std::ofstream(dir.file("in")) << "root\nsecret1\n" << session << "exit\n";
  return std::system(("cd " + dir.path() + " && timeout 20 " + shell() + " <in >out 2>&1").c_str());
}

// The texts held by the image's files owned by user `owner` (account records hold zero bytes).
std::vector<std::string> contentsOwnedBy(const std::string& image, int16_t owner) {
  std::vector<std::string> contents;
  for (const auto& [node, content] : imageFiles(image))
    if (node.getOwner() == owner && content.find('\0') == std::string::npos)
      contents.push_back(content);
  return contents;
}

// Alice types in vi -i while root reads the file, deletes it, makes a folder and a file that
// take its i-node and datablocks, and a file of root's own by its name. The old content is
// there until the typing ends; then alice may not write root's file, and her typing lands
// nowhere.
TEST(Consoles, TypingInTheEditorWritesNothingThatChangedMeanwhile) {
  TempDir dir;
  const std::string old(150, 'o');
  const std::string made(120, 'g');
  prepareAliceImage(dir, "vi f\n\nvi -i f\n" + old + "\x1b\n\n");
  HeldConsole alice(dir, "alice");
  alice.type("alice\nalicepw\nvi -i f\n");
  ASSERT_TRUE(alice.comesToShow("Input the data here:\n"));
  ASSERT_EQ(
      runRootConsole(dir,
                     "cat /home/alice/f\n\nrm /home/alice/f\n\n\nmkdir /home/alice/d\n\n"
                     "vi /home/alice/g\n\nvi -i /home/alice/g\n" +
                         made + "\x1b\n\nvi /home/alice/f\n\nvi -i /home/alice/f\nroot's\x1b\n\n"),
      0);
  EXPECT_EQ(alice.finish("typed by alice\x1b\n\nexit\n"), 0);
  EXPECT_NE(text(dir.file("out")).find("content:\n" + old + "\n"), std::string::npos);
  EXPECT_NE(text(dir.file("alice"))
                .find("Access denied.\nYou can not write in and save the \"f\" "
                      "file.\n"),
            std::string::npos);
  EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{});
  EXPECT_EQ(contentsOwnedBy(dir.file("disk.fs5"), 0), (std::vector<std::string>{made, "root's"}));
  EXPECT_EQ(text(dir.file("disk.fs5")).find("typed by alice"), std::string::npos);
}

// Alice stands at rm's or rmdir's confirmation while root moves her file away, deletes her
// home and makes it anew with an object of root's own by the same name: after her yes alice
// is refused, and root's objects and the moved file stay whole.
TEST(Consoles, AConfirmedDeletionChecksItsTargetAgain) {
  struct Case {
    std::string command, question, aliceSession, rootSession, refusal;
  };
  const Case cases[] = {
      {"rm /home/alice/x\n", "Delete file with all its content?\n",
       "vi x\n\nvi -i x\nalice's\x1b\n\n",
       "mv /home/alice/x /tmp/x\n\nrmdir /home/alice\n\n\nmkdir /home/alice\n\n"
       "vi /home/alice/x\n\nvi -i /home/alice/x\nroot's\x1b\n\n",
       "You can not delete the \"x\" file.\n"},
      {"rmdir /home/alice/s\n", "Delete folder with all its content?\n",
       "mkdir s\n\nvi s/k\n\nvi -i s/k\nalice's\x1b\n\n",
       "mv /home/alice/s/k /tmp/k\n\nrmdir /home/alice\n\n\nmkdir /home/alice\n\n"
       "mkdir /home/alice/s\n\nvi /home/alice/s/k\n\nvi -i /home/alice/s/k\nroot's\x1b\n\n",
       "You can not delete the \"s\" folder.\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    prepareAliceImage(dir, c.aliceSession);
    HeldConsole alice(dir, "alice");
    alice.type("alice\nalicepw\n" + c.command);
    ASSERT_TRUE(alice.comesToShow(c.question)) << c.command;
    ASSERT_EQ(runRootConsole(dir, c.rootSession), 0) << c.command;
    EXPECT_EQ(alice.finish("\n\nexit\n"), 0);
    EXPECT_NE(text(dir.file("alice")).find("Access denied.\n" + c.refusal), std::string::npos)
        << c.command;
    EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{}) << c.command;
    EXPECT_EQ(contentsOwnedBy(dir.file("disk.fs5"), 0), std::vector<std::string>{"root's"})
        << c.command;
    EXPECT_EQ(contentsOwnedBy(dir.file("disk.fs5"), 1), std::vector<std::string>{"alice's"})
        << c.command;
  }
}

// cp -R waits for a key at a damaged entry (its name emptied) while root deletes the next
// entry of the same datablock and makes a file that takes its i-node: the copy goes on by
// names, so the deleted entry is skipped and the new file is not copied in its place.
TEST(Consoles, ATreeCopyGoesOnByNamesAfterAWait) {
  TempDir dir;
  const std::string image = dir.file("disk.fs5");
  writeBytes(image, standardImage());
  ASSERT_EQ(runSession(image,
                       "root\nsecret1\nmkdir /tmp/s\n\nmkdir /tmp/d\n\nvi /tmp/s/a\n\n"
                       "vi /tmp/s/b\n\nvi /tmp/s/c\n\nvi /tmp/s/e\n\nexit\n"),
            0);
  {
    ImageStream io(image);
    Handle s = lookup(io.ds, false, "/tmp/s");
    ASSERT_EQ(s.node.getBlockCount(), 2);
    pokeRecord(image, {"poke", "block", std::to_string(s.node.getBlock(1)), "4", "00"});
  }
  const std::vector<std::string> damage = checkImageProblems(image);
  HeldConsole copier(dir, "copier");
  copier.type("root\nsecret1\ncp -R /tmp/s /tmp/d\n");
  ASSERT_TRUE(copier.comesToShow("The source of copying is not a file.\n"))
      << text(dir.file("copier"));
  ASSERT_EQ(runRootConsole(dir, "rm /tmp/s/c\n\n\nvi /tmp/n\n\nvi -i /tmp/n\nnew\x1b\n\n"), 0);
  EXPECT_EQ(copier.finish("\n\nexit\n"), 0);
  EXPECT_NE(text(dir.file("copier")).find("The folder \"s\" was not copied completely."),
            std::string::npos);
  std::vector<std::string> texts = contentsOwnedBy(image, 0);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "new"), 1);
  EXPECT_EQ(checkImageProblems(image), damage);
}

// A console that finds the image held by another process says so once, waits, and then
// does its work.
TEST(Consoles, OneHeldUpSaysSoAndWaits) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  int holder = ::open(dir.file("disk.fs5").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  std::ofstream(dir.file("in")) << "root\nsecret1\nmkdir /tmp/y\n\nexit\n";
  std::FILE* console = popen(("cd " + dir.path() + " && " + shell() + " <in >out").c_str(), "r");
  ASSERT_NE(console, nullptr);
  const std::string waiting = kClear + "Waiting for the disk image, in use by another console.\n";
  EXPECT_TRUE(comesToWaitForLock(dir.file("disk.fs5")));
  EXPECT_EQ(text(dir.file("out")), waiting);
  ::close(holder);
  EXPECT_EQ(pclose(console), 0);
  std::string out = text(dir.file("out"));
  EXPECT_TRUE(out.starts_with(waiting));
  EXPECT_EQ(out.find("Waiting", waiting.size()), std::string::npos);
  EXPECT_NE(out.find("The folder \"y\" was created successfully."), std::string::npos);
  EXPECT_EQ(checkImageProblems(dir.file("disk.fs5")), std::vector<std::string>{});
}

// fs5ck shares the image with readers while it only checks, and repairs only alone: held
// shared, the check runs and -y waits (stopped by timeout, status 124); held alone, both wait.
TEST(Consoles, Fs5ckLocksSharedToCheckAndAloneToRepair) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  std::string fsck = "cd " + dir.path() + " && timeout 2 " + FS5_BINARY_DIR + "/fs5ck ";
  auto status = [&](const std::string& args) {
    return WEXITSTATUS(std::system((fsck + args + " >/dev/null").c_str()));
  };
  int holder = ::open(dir.file("disk.fs5").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(holder, LOCK_SH), 0);
  EXPECT_EQ(status("disk.fs5"), 0);
  EXPECT_EQ(status("-y disk.fs5"), 124);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  EXPECT_EQ(status("disk.fs5"), 124);
  ::close(holder);
  EXPECT_EQ(status("-p disk.fs5"), 0);
}

}  // namespace
}  // namespace fs5::test
