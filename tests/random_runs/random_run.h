// One random run: from a seed, a PC (a settings file, drives, JoyToKey,
// other programs' windows) and a person who presses the switch wrongly and
// clicks about, while the PC closes the program, shuts down, hangs, loses
// JoyToKey or the switch and refuses the file at random moments. Then the
// invariants are checked. The same seed gives the same run, step for step.
#ifndef HOPLA_TESTS_RANDOM_RUNS_RANDOM_RUN_H_
#define HOPLA_TESTS_RANDOM_RUNS_RANDOM_RUN_H_

#include <cstdint>
#include <string>
#include <vector>

namespace hopla::random_runs {

struct RunReport {
  uint64_t seed = 0;
  // How long the run lasted on the simulated clock.
  int64_t virtual_ms = 0;
  // The invariants that did not hold, a line each; empty when all held.
  std::vector<std::string> failures;
  // What the PC and the person did, a line each, with its time.
  std::string script;
  // The desktop's trace, when asked for.
  std::string trace;
};

struct RunOptions {
  // Keep the desktop's trace in the report.
  bool with_trace = false;
  // The program's threads run side by side on the real clock (for
  // ThreadSanitizer): the run is shorter, not replayable, and the
  // invariants that hang on time (how long the window answered nothing,
  // threads ended within their bound) are not checked.
  bool free_running = false;
};

RunReport RunSeed(uint64_t seed, const RunOptions& options = {});

// The command that replays one seed and prints its script and trace.
std::string ReplayCommand(uint64_t seed);

}  // namespace hopla::random_runs

#endif  // HOPLA_TESTS_RANDOM_RUNS_RANDOM_RUN_H_
