#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

// The session cut short at every byte: commands, their answers, the editor's typing, the
// account dialogue, a second login and a formatting.
std::string scriptedSession() {
  std::string s = rootLogin();
  s += "mkdir /tmp/d\n\n";
  s += "vi /tmp/d/f\n\n";
  s += "vi -i /tmp/d/f\nSome text.\x1b\n\n";
  s += "cp -R /tmp/d /home\n\n";
  s += "vi /tmp/g\n\n";
  s += "cp /tmp/d/f /tmp/g\n\n";
  s += "mv /tmp/g /tmp/d\n\n";
  s += "chmod o-r /tmp/d/f\n\n";
  s += "adduser anna\nannapw1\n\n";
  s += "rm /tmp/d/f\n\n\n";
  s += "rmdir /home/d\n\n\n";
  s += "reenter\nanna\nannapw1\n";
  s += "mkdir work\n\n";
  s += "ls -l\n\n";
  s += "reenter\nroot\nsecret1\n";
  s += "deluser anna\n\n";
  s += "mkfs\n\nsecret2\n\n";
  s += "exit\n";
  return s;
}

// Where the typed superuser password of the formatting starts.
std::size_t formattingPasswordAt(const std::string& session) {
  return session.find("mkfs\n\n") + 6;
}

TEST(TruncatedInput, TheWholeSessionEndsWithStatusZeroAndASoundImage) {
  ImageFixture fx;
  SessionResult r = runSessionUnchecked(fx.image(), scriptedSession());
  EXPECT_EQ(r.status, 0);
  std::string out = withoutClears(r.out);
  for (const char* line :
       {"The folder \"d\" was successfully copied.\n",
        "The user account \"anna\" was successfully created.\n",
        "The folder \"work\" was created successfully.\n",
        "The user account \"anna\" was successfully deleted.\n", "The disk was formatted.\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line;
  EXPECT_EQ(checkImageProblems(fx.image()), std::vector<std::string>{});
}

// Input that ends anywhere ends the program: status 0, or 1 when it ends before the
// formatting has a password of at least 6 characters; that formatting leaves no superuser
// account and nothing else wrong. Every other cut leaves a sound image.
TEST(TruncatedInput, InputEndingAtEveryByteLeavesASoundImage) {
  ImageFixture fx;
  std::vector<uint8_t> prepared = readBytes(fx.image());
  std::string session = scriptedSession();
  std::size_t password = formattingPasswordAt(session);
  const std::vector<std::string> noSuperuser = {
      "user number 0: the superuser's number is held by no account."};
  int faults = 0;
  for (std::size_t cut = 0; cut <= session.size() && faults <= 5; ++cut) {
    writeBytes(fx.image(), prepared);
    SessionResult r = runSessionUnchecked(fx.image(), session.substr(0, cut));
    bool interrupted = cut >= password && cut < password + 6;
    std::vector<std::string> problems = checkImageProblems(fx.image());
    std::vector<std::string> expected = interrupted ? noSuperuser : std::vector<std::string>{};
    EXPECT_EQ(r.status, interrupted ? 1 : 0) << "cut at " << cut << ":\n" << r.err;
    EXPECT_EQ(problems, expected) << "cut at " << cut;
    if (r.status != (interrupted ? 1 : 0) || problems != expected) ++faults;
  }
  std::cout << "Input cut at every byte of " << session.size() << "\n";
}

}  // namespace
}  // namespace fs5::test
