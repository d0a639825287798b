// Replays every transcript under tests/transcripts/ (the format: tests/support/Transcript.h).
// With FS5_UPDATE=1 a transcript whose screen differs is rewritten with the screen it gave.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TestSupport.h"
#include "tests/support/Transcript.h"

namespace fs5::test {
namespace {

class Transcript : public testing::TestWithParam<std::string> {};

TEST_P(Transcript, Replays) {
  std::string path = std::string(FS5_TRANSCRIPTS) + "/" + GetParam() + ".t";
  std::vector<uint8_t> bytes = readBytes(path);
  std::string text(bytes.begin(), bytes.end()), expected = expectedScreen(text);
  TempDir dir;
  alarm(60);  // a program that never ends fails here, not at CTest's timeout
  std::string screen = runTranscript(text, dir.path());
  alarm(0);
  EXPECT_EQ(screen, expected) << path;
  std::istringstream lines(text);
  std::string header;
  for (std::string l; std::getline(lines, l) && (l.starts_with("#") || l.starts_with("@ "));)
    header += l + "\n";
  if (screen != expected && std::getenv("FS5_UPDATE") != nullptr)
    std::ofstream(path) << header + screen;
}

std::vector<std::string> transcripts() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FS5_TRANSCRIPTS))
    if (entry.path().extension() == ".t") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(All, Transcript, testing::ValuesIn(transcripts()), [](const auto& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

}  // namespace
}  // namespace fs5::test
