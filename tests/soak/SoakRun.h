// Seeded random soak sessions: a fresh image, then sessions of random commands by several
// users, each command run by the real shell and followed by the checker and a comparison of
// the image with the model. The same seed and sizes give the same commands.
#ifndef FS5_TESTS_SOAK_SOAKRUN_H_
#define FS5_TESTS_SOAK_SOAKRUN_H_

#include <cstdint>
#include <map>
#include <string>

namespace fs5::soak {

struct SoakConfig {
  uint64_t seed = 1;
  int sessions = 4;              // runs of the program on the one image
  int commandsPerSession = 200;  // commands typed at the prompt in each run, exit included
};

struct SoakStats {
  int sessions = 0;
  int commands = 0;       // command lines run and checked
  int logins = 0;         // successful logins
  int refusedLogins = 0;  // wrong names or passwords
  int refusals = 0;       // commands that printed "Access denied."
  int escapes = 0;        // confirmations answered with Escape
  int formats = 0;        // mkfs run to the end
  int inodesFull = 0;     // commands after which no i-node was free
  int blocksFull = 0;     // commands after which fewer than 10 datablocks were free
  int outOfInodes = 0;    // commands that ran out of i-nodes
  int outOfBlocks = 0;    // commands that ran out of datablocks
  int drained = 0;        // times the disk went from full back to mostly free
  std::map<std::string, int> byCommand;

  void add(const SoakStats& other);
  // One paragraph of the figures.
  std::string summary() const;
};

struct SoakResult {
  bool ok = true;
  std::string failure;  // where and how the shell and the model parted
  SoakStats stats;
};

// Runs the soak in `folder` (its disk.fs5 is made afresh).
SoakResult runSoak(const SoakConfig& config, const std::string& folder);

}  // namespace fs5::soak

#endif  // FS5_TESTS_SOAK_SOAKRUN_H_
