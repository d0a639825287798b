#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "storage/AllocMaps.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

const std::string kClear(25, '\n');

class Login : public ::testing::Test {
 protected:
  ImageFixture fx;
  SessionResult run(const std::string& input) { return runSession(fx.image(), input); }
  void addAccount(const std::string& name, const std::string& pw) { fx.addAccount(name, pw); }
};

TEST_F(Login, ExitAtTheFirstPromptEndsWithoutAShellPrompt) {
  SessionResult r = run("exit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kClear + "Login: ");
  EXPECT_EQ(r.err, "");
}

TEST_F(Login, EndOfInputAtTheLoginPromptEndsLikeExit) {
  SessionResult r = run("");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kClear + "Login: ");
  SessionResult half = run("root\n");
  EXPECT_EQ(half.status, 0);
  EXPECT_EQ(half.out, kClear + "Login: \nPassword: ");
}

TEST_F(Login, WrongNameAndWrongPasswordAreToldApart) {
  SessionResult r = run("nobody x\n\nroot wrong\n\nexit\n");
  EXPECT_EQ(r.out, kClear + "Login: \nPassword: " + kClear +
                       "Wrong login.\nPress \"Enter\" to continue.\n" + kClear +
                       "Login: \nPassword: " + kClear +
                       "Wrong password.\nPress \"Enter\" to continue.\n" + kClear + "Login: ");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST_F(Login, NameAndPasswordOnOneLine) {
  SessionResult r = run("root secret1\nexit\n");
  EXPECT_EQ(withoutClears(r.out), "Login: \nPassword: [root @fs5 /root/ ]# [root @fs5 /root/ ]# ");
}

TEST_F(Login, PasswordsLongerThanThirtyNeverMatch) {
  addAccount("ann", std::string(30, 'q'));
  SessionResult ok = run("ann " + std::string(30, 'q') + "\nexit\n");
  EXPECT_NE(ok.out.find("[ann @fs5 /home/ann/ ]$ "), std::string::npos);
  SessionResult longer = run("ann " + std::string(31, 'q') + "\n\nexit\n");
  EXPECT_NE(longer.out.find("Wrong password."), std::string::npos);
  EXPECT_EQ(longer.out.find("]$ "), std::string::npos);
}

TEST_F(Login, PathsInALoginNameFindNoAccount) {
  SessionResult r = run("../passwd/root secret1\n\nexit\n");
  EXPECT_NE(r.out.find("Wrong login."), std::string::npos);
  EXPECT_EQ(r.out.find("]# "), std::string::npos);
}

TEST_F(Login, OrdinaryUserPromptAndReenterAsAnotherUser) {
  addAccount("anna", "pw");
  SessionResult r = run("anna pw\nreenter x y\nroot secret1\nexit\n");
  EXPECT_EQ(withoutClears(r.out),
            "Login: \nPassword: [anna @fs5 /home/anna/ ]$ [anna @fs5 /home/anna/ ]$ "
            "Login: \nPassword: [root @fs5 /root/ ]# [root @fs5 /root/ ]# ");
  EXPECT_EQ(r.status, 0);
}

}  // namespace
}  // namespace fs5::test
