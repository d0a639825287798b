#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs5::test {
namespace {

// fuzz/run exits with this status when clang++ with libFuzzer is not on the machine.
constexpr int kSkipped = 77;

struct ScriptRun {
  int status = -1;
  std::string output;
};

// Runs fuzz/run of this source tree with `arguments`, standard error merged into the output.
ScriptRun runFuzzScript(const std::string& arguments) {
  std::filesystem::path root =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  std::string command = "'" + (root / "fuzz" / "run").string() + "' " + arguments + " 2>&1";
  ScriptRun r;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) r.output.append(buffer, n);
  int raw = pclose(pipe);
  if (WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
  return r;
}

// Each fuzzer runs a bounded number of inputs from the committed seeds, with libFuzzer's seed
// fixed, and finds nothing.
void expectBoundedRunClean(const std::string& target, int runs) {
  ScriptRun r = runFuzzScript("--fresh --runs " + std::to_string(runs) + " " + target);
  if (r.status == kSkipped) GTEST_SKIP() << r.output;
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(target + ": Done " + std::to_string(runs) + " runs in "),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("; no fault"), std::string::npos) << r.output;
}

TEST(FuzzRun, SessionFuzzerFindsNothingInBoundedRuns) { expectBoundedRunClean("session", 1000); }

TEST(FuzzRun, ImageFuzzerFindsNothingInBoundedRuns) { expectBoundedRunClean("image", 300); }

TEST(FuzzRun, ParserFuzzerFindsNothingInBoundedRuns) { expectBoundedRunClean("parser", 10000); }

}  // namespace
}  // namespace fs5::test
