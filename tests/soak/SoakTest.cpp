#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "tests/soak/SoakRun.h"
#include "tests/support/TestSupport.h"

namespace fs5::soak {
namespace {

// A whole number from the environment, or `fallback` when the variable is not set.
long fromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  return std::strtol(text, nullptr, 10);
}

void expectSoak(uint64_t seed, int sessions, int commands) {
  test::TempDir dir;
  SoakResult r = runSoak({seed, sessions, commands}, dir.path());
  EXPECT_TRUE(r.ok) << r.failure;
  std::cout << "seed " << seed << ": " << r.stats.summary() << "\n";
}

TEST(Soak, Seed19) { expectSoak(19, 5, 200); }
TEST(Soak, Seed29) { expectSoak(29, 5, 200); }
TEST(Soak, Seed34) { expectSoak(34, 5, 200); }
TEST(Soak, Seed35) { expectSoak(35, 5, 200); }

// The long soak: FS5_SOAK_SESSIONS sessions for each of FS5_SOAK_SEEDS seeds from
// FS5_SOAK_SEED on, FS5_SOAK_COMMANDS commands a session. Skipped unless
// FS5_SOAK_SESSIONS is set.
TEST(Soak, FromEnvironment) {
  long sessions = fromEnvironment("FS5_SOAK_SESSIONS", 0);
  if (sessions <= 0) GTEST_SKIP() << "FS5_SOAK_SESSIONS is not set";
  long first = fromEnvironment("FS5_SOAK_SEED", 1);
  long seeds = fromEnvironment("FS5_SOAK_SEEDS", 1);
  long commands = fromEnvironment("FS5_SOAK_COMMANDS", 250);
  SoakStats total;
  for (long seed = first; seed < first + seeds; ++seed) {
    test::TempDir dir;
    SoakResult r = runSoak(
        {static_cast<uint64_t>(seed), static_cast<int>(sessions), static_cast<int>(commands)},
        dir.path());
    total.add(r.stats);
    std::cout << "seed " << seed << ": " << r.stats.sessions << " sessions, " << r.stats.commands
              << " commands" << (r.ok ? "" : ", failed") << std::endl;
    ASSERT_TRUE(r.ok) << r.failure;
  }
  std::cout << "seeds " << first << " to " << first + seeds - 1 << ": " << total.summary() << "\n";
}

}  // namespace
}  // namespace fs5::soak
