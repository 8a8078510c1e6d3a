// The walking cursor: the direction table, turning back at the edges with
// their exact margins, the long-press gate and the wait for a pending code.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "hopla_fixture.h"
#include "motion/mover_thread.h"
#include "motion/screen_bounds.h"
#include "platform/sim/sim_desktop.h"
#include "toolkit/application.h"

namespace hopla {
namespace {

class FakeSite : public MoverSite {
 public:
  void MoverEnded() override { ++ended; }
  std::atomic<int> ended{0};
};

// A mover thread on its own, beside a bare UI thread, on a 1024 x 768 screen.
class MoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state_.ScreenRight = 1024;
    state_.ScreenBottom = 768;
    state_.DirectionCount = 4;
    state_.TurnAtEdges = true;
    state_.StepDelay = 10;
    state_.LongPressTicks = 40;
    process_ = &desk_.Launch("C:\\m.exe", [this](Platform& platform) {
      platform_ = &platform;
      state_.MoverEvent = platform.CreateAutoResetEvent(true);
      Application app(platform);
      app.RunLoop();
      return 0;
    });
    desk_.RunFor(0);
  }

  // The event belongs to the desktop's world: let the mover end, then free
  // the event while the desktop still exists.
  void TearDown() override {
    Do([this] {
      if (thread_) thread_->Terminate();
      state_.MoverEvent->Set();
    });
    desk_.RunFor(500);
    state_.MoverEvent.reset();
  }

  void Do(const std::function<void()>& action) {
    process_->At(desk_.Now(), action);
    desk_.RunFor(0);
  }

  // Places the cursor and starts a mover; returns after its first pass.
  void StartAt(Point at, int32_t direction) {
    desk_.PlaceCursor(at);
    Do([&] {
      state_.Direction = direction;
      thread_ = std::make_shared<TMyThread>(
          *platform_, owned_state_, link_,
          std::make_shared<BrakeProber>(*platform_));
      thread_->Start();
    });
    desk_.RunFor(1);
  }

  // Outlive the desktop's threads.
  std::shared_ptr<EngineState> owned_state_ = std::make_shared<EngineState>();
  EngineState& state_ = *owned_state_;
  FakeSite site_;
  std::shared_ptr<MoverLink> link_ = std::make_shared<MoverLink>(site_);
  sim::SimDesktop desk_{Rect{0, 0, 1024, 768}};
  sim::SimProcess* process_ = nullptr;
  Platform* platform_ = nullptr;
  std::shared_ptr<TMyThread> thread_;
};

TEST_F(MoverTest, RightEdgeMarginIsTenPixels) {
  StartAt({1014, 400}, 0);
  EXPECT_EQ(state_.Direction, 0);
  EXPECT_FALSE(state_.Moving);
  desk_.PlaceCursor({1015, 400});
  desk_.RunFor(10);
  EXPECT_EQ(state_.Direction, 3);  // left, with four directions
}

TEST_F(MoverTest, LeftEdgeTurnsAtOneNotTwo) {
  StartAt({2, 400}, 0);
  EXPECT_EQ(state_.Direction, 0);
  desk_.PlaceCursor({1, 400});
  desk_.RunFor(10);
  EXPECT_EQ(state_.Direction, 1);
}

TEST_F(MoverTest, BottomAndTopMarginsMatchTheSides) {
  StartAt({500, 758}, 0);
  EXPECT_EQ(state_.Direction, 0);
  desk_.PlaceCursor({500, 759});
  desk_.RunFor(10);
  EXPECT_EQ(state_.Direction, 4);  // up
  desk_.PlaceCursor({500, 1});
  desk_.RunFor(10);
  EXPECT_EQ(state_.Direction, 2);  // down
}

TEST_F(MoverTest, VerticalRuleWinsInACorner) {
  state_.DirectionCount = 8;
  StartAt({1020, 760}, 1);
  EXPECT_EQ(state_.Direction, 7);
}

TEST_F(MoverTest, DiagonalIntoAnEdgeTurnsStraightAway) {
  state_.DirectionCount = 8;
  StartAt({1015, 300}, 2);
  EXPECT_EQ(state_.Direction, 5);
}

TEST_F(MoverTest, EdgeTurningStartsAWalkFromStandstill) {
  StartAt({0, 300}, 0);
  EXPECT_EQ(state_.Direction, 1);
  EXPECT_TRUE(state_.Moving);
  EXPECT_EQ(desk_.Cursor(), (Point{1, 300}));
}

TEST_F(MoverTest, FourDirectionsHaveNoMotionForFiveToEight) {
  state_.TurnAtEdges = false;
  for (int32_t direction : {5, 6, 7, 8, 0, -1, 9}) {
    StartAt({500, 300}, direction);
    desk_.RunFor(100);
    EXPECT_FALSE(state_.Moving) << direction;
    EXPECT_EQ(desk_.Cursor(), (Point{500, 300})) << direction;
    Do([this] { thread_->Terminate(); });
    desk_.RunFor(20);
  }
}

TEST_F(MoverTest, EightDirectionsGoClockwiseFromRight) {
  state_.TurnAtEdges = false;
  state_.DirectionCount = 8;
  const Point expected[] = {{501, 300}, {501, 301}, {500, 301}, {499, 301},
                            {499, 300}, {499, 299}, {500, 299}, {501, 299}};
  for (int32_t direction = 1; direction <= 8; ++direction) {
    StartAt({500, 300}, direction);
    EXPECT_EQ(desk_.Cursor(), expected[direction - 1]) << direction;
    Do([this] { thread_->Terminate(); });
    desk_.RunFor(20);
  }
}

TEST_F(MoverTest, BoostMultipliesTheStep) {
  state_.TurnAtEdges = false;
  state_.StepPixels = 3;
  state_.SpeedFactor = 5;
  StartAt({100, 100}, 1);
  EXPECT_EQ(desk_.Cursor(), (Point{115, 100}));
  desk_.RunFor(10);
  EXPECT_EQ(desk_.Cursor(), (Point{130, 100}));
}

TEST_F(MoverTest, LongPressGateHoldsTheCursorStill) {
  state_.TurnAtEdges = false;
  state_.HoldTicks = 40;
  StartAt({100, 100}, 1);
  desk_.RunFor(200);
  EXPECT_TRUE(state_.Moving);
  EXPECT_EQ(desk_.Cursor(), (Point{100, 100}));
  state_.HoldTicks = 0;  // the next press resets the count
  desk_.RunFor(10);
  EXPECT_EQ(desk_.Cursor(), (Point{101, 100}));
}

TEST_F(MoverTest, PendingCodeHoldsTheCursorUntilSignalled) {
  state_.TurnAtEdges = false;
  state_.PressCode.Set("0");
  StartAt({100, 100}, 1);  // the event starts set: one pass goes through
  const Point after_first = desk_.Cursor();
  desk_.RunFor(1000);
  EXPECT_EQ(desk_.Cursor(), after_first);
  Do([this] { state_.MoverEvent->Set(); });
  desk_.RunFor(1);
  EXPECT_EQ(desk_.Cursor().x, after_first.x + 1);
}

TEST_F(MoverTest, EdgeTurningOffStopsAtTheEdgeStillMoving) {
  state_.TurnAtEdges = false;
  state_.StepPixels = 5;
  StartAt({1010, 100}, 1);
  desk_.RunFor(100);
  EXPECT_EQ(desk_.Cursor().x, 1023);
  EXPECT_TRUE(state_.Moving);
}

TEST_F(MoverTest, StopRequestEndsTheThreadAndIsHarmlessAfterwards) {
  StartAt({500, 300}, 1);
  Do([this] { thread_->Terminate(); });
  desk_.RunFor(50);
  EXPECT_TRUE(thread_->Finished());
  EXPECT_EQ(site_.ended, 1);
  Do([this] { thread_->Terminate(); });  // the handle stays valid
  desk_.RunFor(50);
  EXPECT_EQ(site_.ended, 1);
}

// The whole program: a walking mover stopped by a press enables the
// execution timer as it ends, during the hold, so a first press held longer
// than the quiet time executes right after its release; a later press of the
// same code finds the mover waiting and waits its full quiet time.
class ArmingTest : public HoplaTest {};

TEST_F(ArmingTest, FirstLongPressWhileWalkingExecutesAtTheRelease) {
  Start();
  std::vector<int64_t> executions;
  Do([&] {
    hopla_->TimeOverTimer.on_timer = [&](Component&) {
      executions.push_back(desk_.Now());
    };
  });
  // A short press starts a mover; then the code is taken and it walks.
  desk_.HoldSwitch(500, 540);
  desk_.RunFor(700);
  Do([this] {
    State().PressCode.Set("");
    State().Direction = 1;
    State().MoverEvent->Set();
  });
  desk_.RunFor(500);
  ASSERT_TRUE(State().Moving);
  executions.clear();
  const int64_t release1 = Press(0, 1500);
  desk_.RunFor(1700);
  ASSERT_FALSE(executions.empty());
  EXPECT_LE(executions.front() - release1, 20);
  executions.clear();
  const int64_t release2 = Press(300, 1500);
  desk_.RunFor(3000);
  ASSERT_FALSE(executions.empty());
  EXPECT_GE(executions.front() - release2, 1000);
  EXPECT_LE(executions.front() - release2, 1020);
}

// Two monitors of different heights side by side: the walk crosses from one
// to the other, turns at the gap below the lower one as at an edge (or stops
// there with edge turning off), and turns at the box's outer edges.
TEST_F(MoverTest, WalkCrossesMonitorsAndTurnsAtAGapWithoutSticking) {
  const std::vector<Rect> monitors{{0, 0, 1024, 768}, {1024, 0, 2304, 600}};
  desk_.SetMonitors(monitors);
  UseMonitors(state_, monitors);
  state_.StepPixels = 5;
  StartAt({1000, 700}, 1);  // right, into the gap below the second monitor
  desk_.RunFor(200);
  EXPECT_EQ(state_.Direction, 3);
  EXPECT_LT(desk_.Cursor().x, 1000);

  Do([this] { state_.Direction = 1; });
  desk_.PlaceCursor({1000, 300});
  desk_.RunFor(1000);
  EXPECT_GT(desk_.Cursor().x, 1400) << "on the second monitor";
  desk_.RunFor(2000);
  EXPECT_EQ(state_.Direction, 3) << "turned at the far right edge";
  EXPECT_LT(desk_.Cursor().x, 2294);

  Do([this] { state_.Direction = 2; });  // down on the second monitor
  desk_.PlaceCursor({1500, 550});
  desk_.RunFor(200);
  EXPECT_EQ(state_.Direction, 4);
  EXPECT_LT(desk_.Cursor().y, 599);

  state_.TurnAtEdges = false;
  Do([this] { state_.Direction = 1; });
  desk_.PlaceCursor({1000, 700});
  desk_.RunFor(300);
  EXPECT_EQ(desk_.Cursor(), (Point{1023, 700})) << "stops at the gap";
  EXPECT_EQ(state_.Direction, 1);
}

}  // namespace
}  // namespace hopla
