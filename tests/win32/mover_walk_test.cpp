// The mover thread on a real thread and the real cursor: it walks right from
// the left edge, turns back inside the right edge margin and walks left,
// while this thread watches the cursor as a person would.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "motion/mover_thread.h"
#include "platform/win32/win32_platform.h"
#include "shared/engine_state.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::WaitUntil;

constexpr int32_t kStepPixels = 5;
constexpr int32_t kStepDelayMs = 1;
constexpr int32_t kLongPressTicks = 40;
constexpr int32_t kLeftInEight = 5;
// A whole crossing of a 1280-pixel screen takes about 0.3 s at this speed.
constexpr int64_t kWalkTimeoutMs = 5000;
// Far enough back to be a walk, not one step's jitter.
constexpr int32_t kWalkBackPx = 100;
constexpr int kStopTimeoutMs = 5000;

class EdgeTurningSite : public MoverSite {
 public:
  void MoverEnded() override { ended_ = true; }
  bool ended() const { return ended_; }

 private:
  std::atomic<bool> ended_{false};
};

// Started at construction; stopped, and waited for, at the latest when the
// test leaves, so it never outlives the state it walks with.
class RunningMover {
 public:
  RunningMover(Platform& platform, std::shared_ptr<EngineState> state,
               MoverSite& site)
      : link_(std::make_shared<MoverLink>(site)),
        thread_(std::make_shared<TMyThread>(
            platform, std::move(state), link_,
            std::make_shared<BrakeProber>(platform))) {
    thread_->Start();
  }
  ~RunningMover() {
    if (!Stop()) ADD_FAILURE() << "the mover did not end";
  }
  RunningMover(const RunningMover&) = delete;
  RunningMover& operator=(const RunningMover&) = delete;

  // Asks the thread to end and waits for it. True when it ended.
  bool Stop() {
    thread_->Terminate();
    return WaitUntil([this] { return thread_->Finished(); }, kStopTimeoutMs);
  }

 private:
  std::shared_ptr<MoverLink> link_;
  std::shared_ptr<TMyThread> thread_;
};

struct Sample {
  POINT at;
  int32_t direction;
};

TEST(Win32MoverWalk, WalksRightFromTheLeftEdgeAndTurnsBackAtTheRight) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  const Rect desktop = platform.DesktopRect();
  ASSERT_GT(desktop.Width(), 2 * kWalkBackPx);
  const LONG row = desktop.top + desktop.Height() / 2;

  auto owned_state = std::make_shared<EngineState>();
  EngineState& state = *owned_state;
  state.DirectionCount = 8;
  state.Direction = 1;
  state.StepDelay = kStepDelayMs;
  state.StepPixels = kStepPixels;
  state.ScreenRight = desktop.right;
  state.ScreenBottom = desktop.bottom;
  state.LongPressTicks = kLongPressTicks;
  state.HoldTicks = 0;
  state.TurnAtEdges = true;
  state.MoverEvent = platform.CreateAutoResetEvent(true);
  EdgeTurningSite site;
  ASSERT_TRUE(SetCursorPos(0, row));

  std::vector<Sample> samples;
  LONG rightmost = 0;
  {
    RunningMover mover(platform, owned_state, site);
    const ULONGLONG end = GetTickCount64() + kWalkTimeoutMs;
    while (GetTickCount64() < end) {
      Sample sample{};
      GetCursorPos(&sample.at);
      sample.direction = state.Direction;
      samples.push_back(sample);
      if (sample.at.x > rightmost) rightmost = sample.at.x;
      if (sample.at.x < rightmost - kWalkBackPx) break;
      Sleep(1);
    }
    ASSERT_TRUE(mover.Stop());
  }
  EXPECT_TRUE(site.ended()) << "the mover's last act was not made";

  ASSERT_GE(samples.size(), 3u);
  // Right to the margin, not beyond the screen. The last step, past the
  // margin, lasts one millisecond: the samples may miss it.
  EXPECT_GE(rightmost, state.ScreenRight - kEdgeMarginPx);
  EXPECT_LT(rightmost, static_cast<LONG>(state.ScreenRight));
  ASSERT_LT(samples.back().at.x, rightmost - kWalkBackPx)
      << "the cursor did not come back from the right edge";
  EXPECT_EQ(samples.back().direction, kLeftInEight);

  // Never a step back before the turn, never a step right after it; always
  // whole steps on the row it started on.
  bool turned = false;
  for (size_t i = 1; i < samples.size(); ++i) {
    const POINT at = samples[i].at;
    const POINT before = samples[i - 1].at;
    turned = turned || before.x == rightmost;
    if (turned) {
      EXPECT_LE(at.x, before.x) << "sample " << i << " after the turn";
    } else {
      EXPECT_GE(at.x, before.x) << "sample " << i << " before the turn";
    }
    EXPECT_EQ(at.y, row) << "sample " << i;
    EXPECT_EQ(at.x % kStepPixels, 0) << "sample " << i << " x " << at.x;
  }
}

}  // namespace
}  // namespace hopla::win32
