// Pacing of the mover's passes: a pass lasts its step delay in all. And the
// shared values' invariants, which stop a debug build at a wrong value.
#include "shared/step_pacer.h"

#include <gtest/gtest.h>

#include "shared/engine_state.h"
#include "shared/slider_maps.h"

namespace hopla {
namespace {

TEST(StepPacerTest, PassesWithoutWorkSleepTheWholeDelay) {
  StepPacer pacer;
  int64_t now_us = 5000;
  for (int i = 0; i < 5; ++i) {
    const int32_t sleep_ms = pacer.SleepAfterPass(now_us, 20);
    EXPECT_EQ(sleep_ms, 20);
    now_us += sleep_ms * 1000;
  }
}

TEST(StepPacerTest, WorkAndLateWakeUpsAreMadeUpOnAverage) {
  // Each pass works 300 or 800 us (the cursor calls of the fastest speed
  // under Wine) and each sleep lasts 80 us longer than asked: over a
  // thousand 1 ms passes the walk keeps the promised pace.
  for (const int64_t work_us : {300, 800}) {
    StepPacer pacer;
    int64_t now_us = 0;
    for (int i = 0; i < 1000; ++i) {
      now_us += work_us;
      const int32_t sleep_ms = pacer.SleepAfterPass(now_us, 1);
      if (sleep_ms > 0) now_us += sleep_ms * 1000 + 80;
    }
    EXPECT_NEAR(now_us, 1000 * 1000, 2000) << work_us;
  }
}

TEST(StepPacerTest, ALongStallStartsAfreshInsteadOfRacing) {
  StepPacer pacer;
  EXPECT_EQ(pacer.SleepAfterPass(0, 10), 10);
  // The next pass waited 5 s for a code: it sleeps a full delay again.
  EXPECT_EQ(pacer.SleepAfterPass(5000000, 10), 10);
  EXPECT_EQ(pacer.SleepAfterPass(5010000, 10), 10);
}

TEST(StepPacerTest, ALongerDelayTakesEffectAtOnce) {
  StepPacer pacer;
  EXPECT_EQ(pacer.SleepAfterPass(0, 2), 2);
  EXPECT_EQ(pacer.SleepAfterPass(2000, 52), 52);  // a brake adds 50 ms
  EXPECT_EQ(pacer.SleepAfterPass(54000, 2), 2);
}

// Each would pass silently in a release build: a pass of 0 ms walks flat
// out, a position beyond the slider reads as its end, a stray character
// in the code never matches a command, an unset screen is 0 wide.
TEST(SharedValuesDeathTest, WrongValuesStopADebugBuild) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEBUG_DEATH(StepPacer().SleepAfterPass(0, 0), "at least 1 ms");
  EXPECT_DEBUG_DEATH(SpeedFor(9), "1..8");
  EXPECT_DEBUG_DEATH(PressCodeText().Append('2'), "marks are 0, 1");
  EXPECT_DEBUG_DEATH(PressCodeText().Set("K01"), "marks are 0, 1");
  EXPECT_DEBUG_DEATH(static_cast<void>(int32_t{EngineState().ScreenRight}),
                     "read before it was set");
}

}  // namespace
}  // namespace hopla
