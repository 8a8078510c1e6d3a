// The random runs in CI: a fixed set of seeds, each a whole PC and person
// against the program, checked against every invariant. The seeds that once
// found a fault stay here by name; the rest sweep a range, in shards that
// run side by side. A failing seed prints its script and the command that
// replays it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "random_runs/random_run.h"

namespace hopla::random_runs {
namespace {

struct FoundFault {
  uint64_t seed;
  const char* fault;
};

// Each seed found the fault beside it (with that mend undone, it fails).
constexpr FoundFault kFoundFaults[] = {
    {169, "settings saved from half-loaded controls during start-up"},
    {24, "JoyToKey started from no folder after a close at start-up"},
    {46, "closed during start-up: the window hid, the program ran on"},
    {55, "a search cut short by the close: JoyToKey started anyway"},
    {138, "a start cut short by the close: warned after the close"},
    {10, "the brake's prober left running at exit"},
    {56, "a wait for another program that answers nothing for 1 s"},
    {402, "ended by the system during the destruction's waits"},
    {638, "a second quit question inside the close's last box"},
    {3, "the destruction's refused save opened a box after the close"},
    {16333, "a shut-down in the close's refused-save box said it again"},
    {3886, "a drag begun in the shut-down's refused-save box left held"},
    {472, "JoyToKey started, then unticked: left running hidden"},
    {76, "a switch on trial saved before it was pressed"},
    {34, "a mover waiting for a code's execution stepped during a pause"},
};

// 1600 seeds in four shards: about a minute on one core.
constexpr uint64_t kShardSeeds = 400;
constexpr uint64_t kFirstSweepSeed = 1;

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
  for (const FoundFault& found : kFoundFaults) {
    SCOPED_TRACE(found.fault);
    ExpectHolds(found.seed);
  }
}

class RandomRunSweep : public ::testing::TestWithParam<uint64_t> {};

TEST_P(RandomRunSweep, EveryInvariantHolds) {
  const uint64_t first = kFirstSweepSeed + GetParam() * kShardSeeds;
  for (uint64_t seed = first; seed < first + kShardSeeds; ++seed) {
    ExpectHolds(seed);
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, RandomRunSweep, ::testing::Values(0, 1, 2, 3));

}  // namespace
}  // namespace hopla::random_runs
