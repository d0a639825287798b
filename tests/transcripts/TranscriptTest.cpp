// Runs every transcript under tests/transcripts/ (see tests/support/Transcript.h). With
// FS5_UPDATE=1 in the environment a transcript whose screen differs is rewritten in place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TestSupport.h"
#include "tests/support/Transcript.h"

namespace fs5::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> transcriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(FS5_TRANSCRIPTS))
    if (entry.path().extension() == ".t") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Transcript : public testing::TestWithParam<std::string> {};

TEST_P(Transcript, Replays) {
  std::string path = std::string(FS5_TRANSCRIPTS) + "/" + GetParam() + ".t";
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  TempDir dir;
  std::string screen = runTranscript(text.str(), dir.path());
  if (screen != expectedScreen(text.str()) && std::getenv("FS5_UPDATE") != nullptr)
    std::ofstream(path) << updatedTranscript(text.str(), screen);
  EXPECT_EQ(screen, expectedScreen(text.str())) << path;
}

INSTANTIATE_TEST_SUITE_P(All, Transcript, testing::ValuesIn(transcriptNames()),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace fs5::test
