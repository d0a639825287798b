#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "storage/AllocMaps.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

const std::string kClear(25, '\n');
const std::string kRootPrompt = "[root @fs5 /root/ ]# ";

class Dispatcher : public ::testing::Test {
 protected:
  ImageFixture fx;
  // The console output after the login's two prompts, screen clearings removed.
  std::string afterLogin(const SessionResult& r) {
    std::string out = withoutClears(r.out);
    std::string head = "Login: \nPassword: " + kRootPrompt + kRootPrompt;
    EXPECT_EQ(out.substr(0, head.size()), head);
    return out.substr(std::min(head.size(), out.size()));
  }
};

TEST_F(Dispatcher, EmptyLinesAndLeadingBlanksPrintNothing) {
  SessionResult r = fx.asRoot("\n   ls\n");
  EXPECT_EQ(r.out, kClear + "Login: \nPassword: " + kClear + kRootPrompt + kClear + kRootPrompt +
                       kClear + kRootPrompt + kClear + kRootPrompt + kClear);
  EXPECT_EQ(r.err, "");
}

TEST_F(Dispatcher, UnknownWordsAreNotFound) {
  SessionResult r = fx.asRoot("LS\n\nfrobnicate a b\n\n");
  EXPECT_EQ(afterLogin(r), "\nCommand not found.\nPress Enter to continue.\n" + kRootPrompt +
                               "\nCommand not found.\nPress Enter to continue.\n" + kRootPrompt);
}

TEST_F(Dispatcher, LongCommandWordsAreCutAndNotFound) {
  SessionResult r = fx.asRoot("exitexitexitexitexitexit\n\n");
  EXPECT_EQ(afterLogin(r), "\nCommand not found.\nPress Enter to continue.\n" + kRootPrompt);
  EXPECT_EQ(r.status, 0);
}

TEST_F(Dispatcher, ExitIgnoresItsArguments) {
  SessionResult r = runSession(fx.image(), rootLogin() + "exit now please\nreenter\n");
  EXPECT_EQ(afterLogin(r), "");
  EXPECT_EQ(r.status, 0);
}

TEST_F(Dispatcher, EndOfInputAtThePromptEndsLikeExit) {
  SessionResult r = runSession(fx.image(), rootLogin());
  EXPECT_EQ(afterLogin(r), "");
  EXPECT_EQ(r.status, 0);
}

TEST_F(Dispatcher, ALastLineWithoutEndOfLineIsStillRun) {
  SessionResult r = runSession(fx.image(), rootLogin() + "nosuch");
  EXPECT_EQ(afterLogin(r), "\nCommand not found.\nPress Enter to continue.\n" + kRootPrompt);
  EXPECT_EQ(r.status, 0);
}

TEST_F(Dispatcher, CommandLinesOverTheLimitAreRefusedWhole) {
  std::string longLine = "mkfs " + std::string(745, 'x');  // 750 characters
  SessionResult r = fx.asRoot(longLine + "\n\n");
  EXPECT_EQ(r.err, "The command line can not exceed 749 symbols.\n");
  EXPECT_EQ(afterLogin(r), "Press Enter to continue.\n" + kRootPrompt);
  std::string word(200, 'w');
  std::string line749 = "nosuch " + word + " " + word + " " + word + " " + std::string(139, 'z');
  ASSERT_EQ(line749.size(), 749u);
  SessionResult fits = fx.asRoot(line749 + "\n\n");
  EXPECT_EQ(fits.err, "");
  EXPECT_EQ(afterLogin(fits), "\nCommand not found.\nPress Enter to continue.\n" + kRootPrompt);
}

TEST_F(Dispatcher, MkfsByAnOrdinaryUserIsRefused) {
  fx.addAccount("anna", "pw");
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.as("anna", "pw", "mkfs\n\n");
  EXPECT_NE(withoutClears(r.out).find("[anna @fs5 /home/anna/ ]$ \n"
                                      "A disk can be formatted ONLY by the superuser.\n"
                                      "Press Enter to continue.\n[anna @fs5 /home/anna/ ]$ "),
            std::string::npos);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST_F(Dispatcher, MkfsAnsweredWithEscapeChangesNothing) {
  std::vector<uint8_t> before = readBytes(fx.image());
  SessionResult r = fx.asRoot("mkfs\n\x1b\n");
  EXPECT_EQ(afterLogin(r),
            "\nDo you really want to format the disk?\n"
            "(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)\n" +
                kRootPrompt);
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST_F(Dispatcher, MkfsReformatsAndTheLoginGoesOn) {
  {
    auto io = fx.open();
    ASSERT_EQ(createFolder(io->ds, false, 0, "/tmp/old"), 0);
    ASSERT_EQ(addUserRecord(io->ds, "bob", "pw", allocUserNumber(io->ds)), 0);
  }
  SessionResult r = fx.asRoot("mkfs\n\nnewpass\n\nnosuch\n\n");
  EXPECT_EQ(r.status, 0);
  std::string out = afterLogin(r);
  std::string expectedStart =
      "\nDo you really want to format the disk?\n(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)\n"
      "The folder \"/\" was created successfully.\nThe folder \"bin\" was created successfully.\n";
  EXPECT_EQ(out.substr(0, expectedStart.size()), expectedStart);
  std::string expectedEnd = "The disk was formatted.\n\n\nPress Enter to continue.\n" +
                            kRootPrompt + kRootPrompt +
                            "\nCommand not found.\nPress Enter to continue.\n" + kRootPrompt;
  ASSERT_GE(out.size(), expectedEnd.size());
  EXPECT_EQ(out.substr(out.size() - expectedEnd.size()), expectedEnd);
  // Only the new superuser password opens the new image; bob is gone.
  EXPECT_NE(runSession(fx.image(), "root newpass\nexit\n").out.find(kRootPrompt),
            std::string::npos);
  EXPECT_NE(runSession(fx.image(), "bob pw\n\nexit\n").out.find("Wrong login."), std::string::npos);
  ImageFixture fresh;
  std::vector<uint8_t> a = readBytes(fx.image()), b = readBytes(fresh.image());
  // The two images differ only in the password bytes of root's record.
  int differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
  EXPECT_GT(differing, 0);
  EXPECT_LE(differing, 7);
}

}  // namespace
}  // namespace fs5::test
