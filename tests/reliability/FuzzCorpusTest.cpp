#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/Harness.h"
#include "fuzz/ParserHarness.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

namespace fs = std::filesystem;

// fuzz/corpus/<target> of this source tree.
fs::path corpusFolder(const std::string& target) {
  return fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus" / target;
}

std::vector<fs::path> corpusFiles(const std::string& target) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(corpusFolder(target)))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

template <typename Check>
void replayCorpus(const std::string& target, std::size_t atLeast, Check check) {
  std::vector<fs::path> files = corpusFiles(target);
  ASSERT_GE(files.size(), atLeast) << corpusFolder(target);
  for (const fs::path& file : files) {
    std::vector<uint8_t> bytes = readBytes(file.string());
    EXPECT_EQ(check(bytes.data(), bytes.size()), "") << file.filename();
  }
}

// Every committed input, the seeds and the inputs that once found a fault, holds again in
// this build (the sanitizers of the test build watch every run).
TEST(FuzzCorpus, SessionInputsHold) {
  fuzz::SessionHarness harness;
  replayCorpus("session", 8, [&](const uint8_t* d, std::size_t n) { return harness.check(d, n); });
}

TEST(FuzzCorpus, ImageInputsHold) {
  fuzz::ImageHarness harness;
  std::vector<uint8_t> seed = harness.seed();
  EXPECT_EQ(harness.check(seed.data(), seed.size()), "");
  replayCorpus("image", 2, [&](const uint8_t* d, std::size_t n) { return harness.check(d, n); });
}

TEST(FuzzCorpus, ParserInputsHold) {
  replayCorpus("parser", 5,
               [](const uint8_t* d, std::size_t n) { return fuzz::checkParser(d, n); });
}

// The harnesses judge what they promise. The session harness excuses account problems only
// when the input took the superuser's account away (here with the whole of /etc) or cut a
// formatting short.
TEST(FuzzHarness, SessionAccountProblemsAreExcusedOnlyWhenTheInputCausedThem) {
  fuzz::SessionHarness harness;
  std::string removed = "\nrmdir /etc\n\n\n";
  EXPECT_EQ(harness.check(reinterpret_cast<const uint8_t*>(removed.data()), removed.size()), "");
  std::string cut = "\nmkfs\n\nabc";
  EXPECT_EQ(harness.check(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()), "");
  EXPECT_TRUE(fuzz::isAccountProblem("/etc/passwd/anna: not a file."));
  EXPECT_TRUE(fuzz::isAccountProblem("user number 3: used but held by no account."));
  EXPECT_FALSE(fuzz::isAccountProblem("user number 3: map byte is 2, not 0 or 1."));
  EXPECT_FALSE(
      fuzz::isAccountProblem("/tmp: datablock 20 slot 2 holds an entry with an empty name."));
}

// The image the image fuzzer damages holds what its script works on, and the script reaches
// its commands on it.
TEST(FuzzHarness, TheImageScriptWorksOnThePreparedImage) {
  fuzz::ImageHarness harness;
  std::vector<uint8_t> seed = harness.seed();
  std::vector<uint8_t> image = harness.damaged(seed.data(), seed.size());
  ASSERT_EQ(image.size(), 122010u + 1024u);
  TempDir dir;
  std::string path = dir.file("disk.fs5");
  writeBytes(path, image);
  SessionResult r = runSessionUnchecked(path, fuzz::imageScript());
  EXPECT_EQ(r.status, 0);
  std::string out = withoutClears(r.out);
  for (const char* line :
       {"This is the file \"notes\" content:\nFirst line.\nSecond line.\n",
        "The folder \"docs\" was successfully copied.\n",
        "The file \"notes\" was successfully copied.\n", "Deleting file: \"notes\".\n",
        "The user account \"carl\" was successfully created.\n",
        "The user account \"bob\" was successfully deleted.\n", "[anna @fs5 /home/anna/docs/ ]$ "})
    EXPECT_NE(out.find(line), std::string::npos) << line;
  expectSoundImage(path);
}

}  // namespace
}  // namespace fs5::test
