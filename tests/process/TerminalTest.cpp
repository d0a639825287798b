// fs5sh at a terminal: a pseudo-terminal is its standard input and output, and each key is
// typed as a person types it, once the screen shows what it answers.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

// Runs fs5sh in `dir` at a terminal through `session`, in which each «typed» is typed once the
// screen shows the text before it (after what the last one answered). Returns the exit status,
// "|" and the screen; a text that is not shown within 5 seconds fails the test.
std::string runAtTerminal(const TempDir& dir, const std::string& session) {
  int master = -1, status = -1;
  pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
  if (child == 0)  // only a failed step comes back
    _exit(chdir(dir.path().c_str()) || setenv("TERM", "xterm", 1) || unsetenv("LC_ALL") ||
          setenv("LANG", "C.UTF-8", 1) ||
          execl((std::string(FS5_BINARY_DIR) + "/fs5sh").c_str(), "fs5sh", nullptr));
  std::string screen;
  char bytes[4096];
  pollfd ready{master, POLLIN, 0};
  auto readMore = [&] {
    ssize_t n = poll(&ready, 1, 5000) == 1 ? read(master, bytes, sizeof bytes) : -1;
    return n > 0 && !screen.append(bytes, n).empty();
  };
  std::size_t seen = 0, shown = 0, at = 0, open, end;
  for (; (open = session.find("«", at)) != std::string::npos; at = end + 2) {
    end = session.find("»", open);
    std::string text = session.substr(at, open - at);
    while ((shown = screen.find(text, seen)) == std::string::npos && readMore()) continue;
    if (shown == std::string::npos) break;
    seen = shown + text.size();
    EXPECT_GT(write(master, &session[open + 2], end - open - 2), 0);
  }
  EXPECT_NE(shown, std::string::npos) << "not shown: " << session.substr(at) << "\n" << screen;
  while (readMore()) continue;
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  close(master);
  return std::to_string(status) + "|" + screen;
}

// Logs in as root on a standard image, then types `session`: the screen, the status 0 checked.
std::string asRoot(const std::string& session) {
  TempDir dir;
  writeBytes(dir.file("disk.fs5"), standardImage());
  std::string screen = runAtTerminal(dir, "Login: «root\n»Password: «secret1\n»" + session);
  EXPECT_TRUE(screen.starts_with("0|")) << screen;
  return screen;
}

// Passwords typed hidden, their end of line still shown (then the screen clearing); Up recalls
// a line; Tab completes in a folder the user may read (the superuser) and not in one he may
// not; Escape then Enter still ends vi -i; reenter forgets the history (Up then Enter is an
// empty line, not "reenter").
TEST(Terminal, HidesPasswordsEditsCompletesAndForgets) {
  std::string screen = asRoot(
      "]# «vi /tmp/uniq1\n»continue.«\n»"
      "]# «vi -i /tmp/uniq1\n»here:\r\n«ab\x1b\n»continue.«\n»]# «adduser anna\n»"
      "tokens):\r\n«annapw1\n»continue.«\n»]# «cat /tmp/un\t\n»content:\r\nab\r\n«\n»"
      "]# «\x1b[A\n»content:\r\nab\r\n«\n»]# «chmod o-r /tmp\n»continue.«\n»"
      "]# «reenter\n»Login: «anna\n»Password: «annapw1\n»]$ «\x1b[A\n»"
      "]$ «cat /tmp/un\t\n»un\" not found.\r\n«\n»]$ «ex\t»it «\x01\x0b\x04»");
  EXPECT_FALSE(std::regex_search(screen, std::regex("secret1|annapw1")));
  // The end of input at the prompt (Ctrl-D once Ctrl-A Ctrl-K emptied the line) clears as
  // exit does.
  EXPECT_TRUE(std::regex_search(screen, std::regex("[^\n](\r\n){25}$"))) << screen;
}

// One prompt after the login (the password's end of line taken with it); names in UTF-8 typed
// and completed; a unique folder completed without its "/", so that Enter goes into it, and
// a second Tab adds the "/" and lists it.
TEST(Terminal, CompletesWordsTheCommandsTake) {
  std::string screen = asRoot(
      "]# «mkdir /tmp/café\n»continue.«\n»]# «mkdir /tmp/café/naïve€\n»continue.«\n»"
      "]# «cd /tmp/ca\t\n»café/ ]# «cd /tm\t\t»café/\r\n«\t\tna\t\n»naïve€/ ]# «exit\n»");
  EXPECT_TRUE(std::regex_search(
      screen, std::regex("Password: (\r\n){26}\\[root @fs5 /root/ \\]# mkdir /tmp/café\r\n")));
  EXPECT_NE(screen.find("The folder \"naïve€\" was created successfully."), std::string::npos);
  EXPECT_NE(screen.find("[root @fs5 /tmp/café/ ]# "), std::string::npos);
  EXPECT_NE(screen.find("\r\nnaïve€/\r\n"), std::string::npos);
  EXPECT_NE(screen.find("[root @fs5 /tmp/café/naïve€/ ]# "), std::string::npos);
}

// Lines typed ahead (four pasted at once) are taken one each by the waits and run in their
// order, each shown after its prompt; "n" at a confirmation asks again, a second "n" keeps
// the file; Enter alone deletes it. A login typed at the login's wait is taken as typed.
TEST(Terminal, KeepsLinesTypedAheadAndAsksAgain) {
  std::string screen = asRoot(
      "]# «mkdir p1\nmkdir p2\nmkdir p3\nmkdir p4\n»\"p4\" was created successfully."
      "\r\n\r\nPress Enter to continue.\r\n«\n»]# «vi f\n»continue.«\n»]# «rm f\n»- no)\r\n"
      "«n\n»- no)\r\n«n\n»continue.«\n»]# «ls\n»continue.«\n»]# «rm f\n»- no)\r\n«\n»"
      "continue.«\n»]# «ls\n»continue.«\n»]# «reenter\n»Login: «x\n»Password: «y\n»"
      "continue.«root secret1\n»]# «exit\n»");
  EXPECT_NE(screen.find("Login: root\r\nPassword: \r\n"), std::string::npos);
  for (const char* p : {"p2", "p3", "p4"})
    EXPECT_NE(screen.find(std::string("]# mkdir ") + p + "\r\n"), std::string::npos) << p;
  EXPECT_TRUE(std::regex_search(
      screen, std::regex("p1 +20\r\n.*p2 +21\r\n.*p3 +22\r\n.*p4 +23\r\n.* f +24\r\n")));
  EXPECT_TRUE(std::regex_search(screen, std::regex("p3 +22\r\n.*p4 +23\r\n\r\n\r\nPress")));
  EXPECT_TRUE(std::regex_search(
      screen, std::regex("\\? *\r\n.*- no\\)\r\nn\r\nDelete file with all its content\\?\r\n"
                         ".*- no\\)\r\nn\r\n\r\nPress")));
}

// Ctrl-C abandons the line at the prompt (a new prompt on the next line, nothing cleared, the
// command not run), is no at a confirmation, abandons the typing of vi -i on one line, and
// starts the login again at its word and at its password. The program goes on.
TEST(Terminal, CtrlCAbandonsWhatIsTypedAndAnswersNo) {
  std::string screen = asRoot(
      "]# «vi f\n»continue.«\n»]# «rm f\x03»]# «rm f\n»- no)\r\n«\x03»continue.«\n»"
      "]# «vi -i f\n»here:\r\n«old\x1b»«\n»continue.«\n»]# «vi -i f\n»here:\r\n«ab\x03»"
      "unchanged.\r\n«\n»]# «cat f\n»continue.«\n»]# «reenter\n»Login: «\x03»"
      "Login: «root\n»Password: «\x03»Login: «root\n»Password: «secret1\n»]# «ls\n»"
      "continue.«\n»]# «exit\n»");
  // (Keys typed before the editor holds the terminal are echoed by it too, "^C" and all.)
  EXPECT_TRUE(std::regex_search(
      screen, std::regex("]# rm f(\\^Crm f)?\r\n\\[root @fs5 /root/ ]# rm f\r\n")))
      << screen;
  EXPECT_TRUE(std::regex_search(screen, std::regex("- no\\)\r\n\\^C\r?\n?\r?\n?Press"))) << screen;
  EXPECT_NE(screen.find("\r\nThe typing was abandoned; the file is unchanged.\r\n"),
            std::string::npos)
      << screen;
  EXPECT_NE(screen.find("content:\r\nold"), std::string::npos) << screen;
  EXPECT_TRUE(std::regex_search(screen, std::regex(" f +[0-9]+\r\n"))) << screen;
}

}  // namespace
}  // namespace fs5::test
