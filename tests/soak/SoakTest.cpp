// Seeded random sessions of several users over every command, run through the transcript
// runner. At every prompt the image must be sound, and every file but the accounts must
// hold one of the texts typed into files, whole: each text names itself ("#17:") and its
// length follows from its number, so a file made of two texts or cut short shows.
//   FS5_SOAK_SEED=100 FS5_SOAK_SEEDS=30 FS5_SOAK_COMMANDS=400 build/test/test_soak
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "tests/support/TestSupport.h"
#include "tests/support/Transcript.h"

namespace fs5::test {
namespace {

std::string typedText(int id) {
  std::string s = "#" + std::to_string(id) + ":";
  return s + std::string((id * 7919) % 2500, static_cast<char>('a' + id % 26));
}

bool isTypedText(const std::string& s) {
  int id = s.size() > 1 && s[0] == '#' ? std::atoi(s.c_str() + 1) : -1;
  return s.empty() || (id >= 0 && s == typedText(id));
}

// The first problem at this prompt, or "".
std::string problemIn(const std::string& image) {
  std::vector<std::string> problems = checkImageProblems(image);
  if (!problems.empty()) return problems[0];
  for (const auto& [node, content] : imageFiles(image)) {
    if (!node.hasRight(4)) continue;  // the accounts
    std::string text = content.substr(0, content.find('\0'));
    if (!isTypedText(text))
      return "i-node " + std::to_string(node.getNumber()) + " holds \"" + text + "\"";
  }
  return "";
}

std::string randomScript(std::mt19937& rnd, int commands) {
  auto pick = [&](std::vector<std::string> from) { return from[rnd() % from.size()]; };
  auto path = [&] {
    std::string p = pick({"/tmp", "/home/anna", "/home/bob", ".", "..", "/home"});
    for (int depth = rnd() % 4; depth > 0; --depth) p += "/" + pick({"a", "b", "c", "d"});
    return p;
  };
  std::string s = "@ users anna bob\n";
  int texts = 0;
  for (int i = 0; i < commands; ++i) {
    std::string c = pick({"mkdir", "mkdir", "vi", "vi -i", "vi -i", "cat", "ls -l", "rm", "rmdir",
                          "cp", "cp -R", "mv", "chmod", "cd", "chown", "reenter"});
    std::string user = pick({"anna", "bob", "root"});
    std::string password = user == "root" ? kRootPassword : user;
    if (c == "reenter") {
      s += "[soak @fs5 / ]# reenter\n«" + user + "»\n«" + password + "»\n";
      continue;
    }
    if (c == "chmod") c += " " + pick({"u", "o"}) + pick({"+", "-"}) + pick({"r", "w", "x", "rwx"});
    std::string target = c == "chown" ? user : path();
    // vi -i writes only into a file that exists
    if (c == "vi -i") s += "[soak @fs5 / ]# vi " + target + "\n";
    c += " " + target;
    if (c.starts_with("cp") || c.starts_with("mv")) c += " " + path();
    s += "[soak @fs5 / ]# " + c + "\n";
    if (c.starts_with("rm")) s += std::string("«") + pick({"y", "\\x1b"}) + "»\n";
    if (c.starts_with("vi -i")) s += "«" + typedText(++texts) + "\\x1b»\n";
  }
  return s;
}

TEST(Soak, RandomSessions) {
  const char* first = std::getenv("FS5_SOAK_SEED");
  const char* seeds = std::getenv("FS5_SOAK_SEEDS");
  const char* commands = std::getenv("FS5_SOAK_COMMANDS");
  int from = first ? std::atoi(first) : 1, length = commands ? std::atoi(commands) : 300;
  for (int seed = from; seed < from + (seeds ? std::atoi(seeds) : 4); ++seed) {
    std::mt19937 rnd(seed);
    TempDir dir;
    alarm(300);  // a session that never ends fails here
    std::string failure;
    int prompts = 0, sound = 0;  // the prompts seen, and the last one at which all was well
    runTranscript(randomScript(rnd, length), dir.path(), [&](const std::string& image) {
      ++prompts;
      if (failure.empty()) failure = problemIn(image);
      if (failure.empty()) sound = prompts;
    });
    EXPECT_EQ(failure, "") << "seed " << seed << ", prompt " << sound + 1;
    EXPECT_GT(prompts, length / 2) << "seed " << seed;
  }
}

}  // namespace
}  // namespace fs5::test
