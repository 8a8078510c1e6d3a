// How fast the walking cursor really goes at each SpeedBar position, against
// what the speed map promises (StepPixels every StepDelay). A real TMyThread
// on the real platform bounces between the left and right edges for about
// two seconds per position while this thread samples the cursor every
// millisecond and adds up how far it went. Run it through bench/speed.sh.
// mean_pass_ms is the mover's own period: what it exceeds Sleep(StepDelay)
// by is the cost of the pass's cursor calls, printed beforehand.
//
// Exit code 0 when every position reaches kTargetRatio, 1 otherwise.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench_clock.h"
#include "counting_mover.h"
#include "motion/mover_thread.h"
#include "platform/win32/win32_platform.h"
#include "shared/engine_state.h"
#include "shared/slider_maps.h"

namespace {

constexpr int64_t kWalkMs = 2000;
constexpr double kTargetRatio = 0.9;
constexpr int kFirstPosition = 1;
constexpr int kLastPosition = 8;
constexpr int kFourDirections = 4;
constexpr int kDirectionRight = 1;
constexpr int kSampleEveryMs = 1;
constexpr int kStopTimeoutMs = 5000;
constexpr int kCursorCalls = 500;

using hopla::bench::Clock;
using hopla::bench::PrintSleepCalibration;

// Taken between the first and the last sample that saw the cursor move, so
// that a slow position (one step every 50 ms) is not off by a whole step at
// either end of the two seconds.
struct Walk {
  double moving_ms = 0;
  int64_t pixels = 0;  // moved in that time
  int64_t passes = 0;  // passes made in that time
};

// One position: two seconds of walking, seen through the cursor.
void WalkAt(hopla::win32::Win32Platform& platform, const Clock& clock,
            hopla::SpeedStep speed, Walk& walk) {
  const hopla::Rect desktop = platform.DesktopRect();
  const LONG row = desktop.top + desktop.Height() / 2;
  auto owned_state = std::make_shared<hopla::EngineState>();
  hopla::EngineState& state = *owned_state;
  state.DirectionCount = kFourDirections;
  state.Direction = kDirectionRight;
  state.StepDelay = speed.step_delay_ms;
  state.StepPixels = speed.step_pixels;
  state.ScreenRight = desktop.right;
  state.ScreenBottom = desktop.bottom;
  state.TurnAtEdges = true;
  state.MoverEvent = platform.CreateAutoResetEvent(true);
  SetCursorPos(desktop.left, row);

  auto mover = std::make_shared<hopla::bench::CountingMover>(
      platform, owned_state, std::make_shared<hopla::BrakeProber>(platform));
  POINT last{};
  GetCursorPos(&last);
  const double start = clock.NowMs();
  mover->Start();
  double now = start;
  double first_move_at = -1;
  int64_t pixels = 0;
  int64_t passes_at_first_move = 0;
  while (now - start < kWalkMs) {
    Sleep(kSampleEveryMs);
    POINT at{};
    GetCursorPos(&at);
    now = clock.NowMs();
    const int64_t moved = std::abs(at.x - last.x) + std::abs(at.y - last.y);
    last = at;
    if (moved == 0) continue;
    pixels += moved;
    const int64_t passes = mover->passes();
    if (first_move_at < 0) {
      first_move_at = now;
      pixels = 0;
      passes_at_first_move = passes;
    }
    walk.moving_ms = now - first_move_at;
    walk.pixels = pixels;
    walk.passes = passes - passes_at_first_move;
  }

  mover->Terminate();
  const double give_up = clock.NowMs() + kStopTimeoutMs;
  while (!mover->Finished() && clock.NowMs() < give_up) Sleep(1);
  if (!mover->Finished()) {
    // The state and site die with this frame; a mover still running would
    // use them afterwards.
    std::printf("the mover did not end; giving up\n");
    std::fflush(stdout);
    std::_Exit(2);
  }
}

// Besides the sleep, each pass reads the cursor twice and moves it once.
void PrintCursorCallCost(const Clock& clock) {
  POINT at{};
  GetCursorPos(&at);
  double start = clock.NowMs();
  for (int i = 0; i < kCursorCalls; ++i) GetCursorPos(&at);
  const double read_ms = (clock.NowMs() - start) / kCursorCalls;
  start = clock.NowMs();
  for (int i = 0; i < kCursorCalls; ++i) SetCursorPos(at.x + i % 2, at.y);
  const double move_ms = (clock.NowMs() - start) / kCursorCalls;
  std::printf(
      "GetCursorPos takes %.3f ms, SetCursorPos %.3f ms: the work of one "
      "pass is about %.3f ms\n",
      read_ms, move_ms, 2 * read_ms + move_ms);
}

}  // namespace

int main() {
  hopla::win32::Win32Platform platform(
      hopla::win32::SwitchSourceKind::kJoystick);
  const Clock clock;
  std::printf("1 ms timer resolution granted: %s\n",
              platform.TimerResolutionRaised() ? "yes" : "no");
  PrintSleepCalibration(clock, {1, 2, 3, 4, 10, 20, 50});
  PrintCursorCallCost(clock);
  std::printf(
      "\nposition step_delay_ms step_pixels promised_px/s measured_px/s "
      "ratio mean_pass_ms\n");
  bool all_fast_enough = true;
  for (int position = kFirstPosition; position <= kLastPosition; ++position) {
    const hopla::SpeedStep speed = hopla::SpeedFor(position);
    const double promised =
        speed.step_pixels * 1000.0 / static_cast<double>(speed.step_delay_ms);
    Walk walk;
    WalkAt(platform, clock, speed, walk);
    const double measured =
        walk.moving_ms > 0
            ? static_cast<double>(walk.pixels) * 1000.0 / walk.moving_ms
            : 0.0;
    const double ratio = measured / promised;
    const double mean_pass_ms =
        walk.passes > 0 ? walk.moving_ms / static_cast<double>(walk.passes)
                        : 0.0;
    all_fast_enough = all_fast_enough && ratio >= kTargetRatio;
    std::printf("%8d %13d %11d %13.0f %13.0f %5.3f %12.3f%s\n", position,
                speed.step_delay_ms, speed.step_pixels, promised, measured,
                ratio, mean_pass_ms, ratio >= kTargetRatio ? "" : "  SHORT");
    std::fflush(stdout);
  }
  std::printf("\ntarget: ratio >= %.2f at every position: %s\n", kTargetRatio,
              all_fast_enough ? "met" : "NOT met");
  return all_fast_enough ? 0 : 1;
}
