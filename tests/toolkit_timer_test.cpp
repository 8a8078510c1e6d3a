// The timer rules the engine relies on: a new value restarts the countdown, the
// same value changes nothing, enabling from another thread starts the
// countdown at that call, and timers keep firing under a modal message box.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "toolkit/application.h"
#include "toolkit/timer.h"

namespace hopla {
namespace {

class TimerTest : public ::testing::Test {
 protected:
  // Runs a program with one timer and its message loop.
  void Run(bool enabled, int32_t interval) {
    process_ = &desk_.Launch("C:\\t.exe", [=, this](Platform& platform) {
      Application app(platform);
      Timer timer(app.timers(), "timer", enabled, interval);
      timer.on_timer = [this, &platform](Component&) {
        fired_.push_back(platform.NowMs());
      };
      platform_ = &platform;
      timer_ = &timer;
      app.RunLoop();
      return 0;
    });
    desk_.RunFor(0);
  }

  // Does `action` on the program's UI thread at `at_ms`.
  void At(int64_t at_ms, std::function<void()> action) {
    process_->At(at_ms, std::move(action));
  }

  sim::SimDesktop desk_;
  sim::SimProcess* process_ = nullptr;
  Platform* platform_ = nullptr;
  Timer* timer_ = nullptr;
  std::vector<int64_t> fired_;
};

TEST_F(TimerTest, FiresEveryIntervalFromCreation) {
  Run(true, 50);
  desk_.RunFor(220);
  EXPECT_EQ(fired_, (std::vector<int64_t>{50, 100, 150, 200}));
}

TEST_F(TimerTest, SameIntervalOrStateChangesNothingNewOneRestarts) {
  Run(true, 100);
  At(70, [this] {
    timer_->SetInterval(100);
    timer_->SetEnabled(true);
  });
  At(130, [this] { timer_->SetInterval(120); });
  desk_.RunFor(400);
  // 100 from the start; then the new interval counts from 130.
  EXPECT_EQ(fired_, (std::vector<int64_t>{100, 250, 370}));
}

TEST_F(TimerTest, DisableThenEnableRestartsTheCountdown) {
  Run(true, 100);
  At(60, [this] { timer_->SetEnabled(false); });
  At(90, [this] { timer_->SetEnabled(true); });
  desk_.RunFor(250);
  EXPECT_EQ(fired_, (std::vector<int64_t>{190}));
}

TEST_F(TimerTest, EnablingFromAnotherThreadStartsTheCountdownAtThatCall) {
  Run(false, 1000);
  At(10, [this] {
    // The UI thread is then busy for two seconds, as in a held press.
    platform_->StartThread([this] {
      platform_->Sleep(290);
      timer_->SetEnabled(true);
    });
    platform_->Sleep(2000);
  });
  desk_.RunFor(3100);
  // Due at 1300, while the UI thread was busy: it fires as soon as it can,
  // then keeps its schedule as a periodic system timer does.
  ASSERT_FALSE(fired_.empty());
  EXPECT_EQ(fired_.front(), 2010);
  EXPECT_EQ(fired_.at(1), 2300);
}

TEST_F(TimerTest, KeepsFiringWhileAModalMessageBoxIsOpen) {
  Run(true, 100);
  desk_.AnswerMessageBoxes([](const MessageBoxArgs&) {
    return sim::MessageBoxAnswer{DialogResult::kOk, 1000};
  });
  At(150, [this] {
    MessageBoxArgs box;
    box.text = "open";
    platform_->ShowMessageBox(box);
  });
  desk_.RunFor(1200);
  EXPECT_GE(fired_.size(), 11u);
}

// A handler that opens a box does not run into itself, unless its timer is
// made for that: then it fires inside its own box too.
TEST_F(TimerTest, OnlyAReentrantTimerFiresInsideItsOwnHandlersBox) {
  for (bool reentrant : {false, true}) {
    sim::SimDesktop desk;
    std::vector<int64_t> fired;
    desk.AnswerMessageBoxes([](const MessageBoxArgs&) {
      return sim::MessageBoxAnswer{DialogResult::kOk, 1000};
    });
    desk.Launch("C:\\t.exe", [&](Platform& platform) {
      Application app(platform);
      Timer timer(app.timers(), "timer", true, 100);
      timer.SetReentrant(reentrant);
      timer.on_timer = [&](Component&) {
        fired.push_back(platform.NowMs());
        if (fired.size() == 1) platform.ShowMessageBox({});
      };
      app.RunLoop();
      return 0;
    });
    desk.RunFor(1050);
    EXPECT_EQ(fired.size(), reentrant ? 10u : 1u) << reentrant;
  }
}

// A timer with slack fires early, at most by its slack, when the loop wakes
// for another timer, and from then on shares that timer's wake-ups; alone
// it is never early or late.
TEST(TimerSlack, SlackTimerJoinsAnotherTimersWakeUps) {
  sim::SimDesktop desk;
  std::vector<int64_t> beats, steps;
  desk.Launch("C:\\t.exe", [&](Platform& platform) {
    Application app(platform);
    Timer beat(app.timers(), "beat", true, 50);
    Timer step(app.timers(), "step", false, 100);
    step.SetSlack(49);
    beat.on_timer = [&](Component&) { beats.push_back(platform.NowMs()); };
    step.on_timer = [&](Component&) { steps.push_back(platform.NowMs()); };
    Timer starter(app.timers(), "starter", true, 37);
    starter.on_timer = [&](Component&) {
      step.SetEnabled(true);
      starter.SetEnabled(false);
    };
    app.RunLoop();
    return 0;
  });
  desk.RunFor(460);
  // Due at 137, fired with the beat at 100; then every 100 ms with it.
  EXPECT_EQ(steps, (std::vector<int64_t>{100, 200, 300, 400}));
  EXPECT_EQ(beats.size(), 9u);
}

}  // namespace
}  // namespace hopla
