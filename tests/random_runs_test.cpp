// The random runs in CI: a fixed set of seeds, each a whole world and person
// against the program, checked against every invariant. The seeds that once
// found a fault stay here by name; the rest sweep a range. A failing seed
// prints its script and the command that replays it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "random_runs/random_run.h"

namespace hopla::random_runs {
namespace {

// Seeds that found a fault, kept so that it stays mended.
constexpr uint64_t kFoundFaults[] = {0};

// A sweep of consecutive seeds, as many as fit CI's minute.
constexpr uint64_t kSweepFirst = 1;
constexpr uint64_t kSweepCount = 200;

void ExpectHolds(uint64_t seed) {
  const RunReport report = RunSeed(seed);
  if (report.failures.empty()) return;
  std::string failures;
  for (const std::string& failure : report.failures) {
    failures += "  " + failure + "\n";
  }
  ADD_FAILURE() << "seed " << seed << " broke:\n"
                << failures << "replay: " << ReplayCommand(seed) << "\n"
                << report.script;
}

TEST(RandomRuns, SeedsThatFoundFaults) {
  for (const uint64_t seed : kFoundFaults) ExpectHolds(seed);
}

TEST(RandomRuns, Sweep) {
  for (uint64_t seed = kSweepFirst; seed < kSweepFirst + kSweepCount; ++seed) {
    ExpectHolds(seed);
  }
}

}  // namespace
}  // namespace hopla::random_runs
