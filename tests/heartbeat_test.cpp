// The heartbeat as a person at the switch meets it: presses measured in polls,
// marks, sounds, the key input mode toggle and the execution timer.
#include <gtest/gtest.h>

#include <algorithm>

#include "hopla_fixture.h"
#include "platform/absent_device.h"
#include "platform/sim/sim_widgets.h"

namespace hopla {
namespace {

// With the built-in values a press is long at 20 polls of 10 ms, and the key
// input mode toggle comes at poll 200. Ticks come every 50 ms from the start,
// so a press that begins at 1000 ms is seen by the tick at 1000 ms and its
// pass k polls at 1000 + (k - 1) * 10 ms.
constexpr int64_t kFirstTick = 1000;

class HeartbeatTest : public HoplaTest {
 protected:
  void SetUp() override {
    Start();
    Do([this] {
      hopla_->SoundCheckBox.SetChecked(true);
      hopla_->NagaHanteiTrackBar.SetPosition(1);  // 20 polls
      hopla_->KeyModeBar.SetPosition(7);          // 10 ms
    });
    desk_.ClearTrace();
  }

  // Holds so that the release is seen by pass `passes` of the hold loop.
  void HoldForPasses(int32_t passes) {
    desk_.HoldSwitch(kFirstTick, kFirstTick + (passes - 1) * 10);
  }
};

TEST_F(HeartbeatTest, PressOneShortOfTheThresholdIsShortWithClick) {
  HoldForPasses(19);
  desk_.RunFor(1500);
  EXPECT_EQ(State().HoldTicks, 19);
  EXPECT_EQ(State().PressCode.Get(), "0");
  EXPECT_TRUE(SoundTimes("pu.wav").empty());
  // The click comes after the last pass has slept, with the mark.
  EXPECT_EQ(SoundTimes("Pomclick.wav"), std::vector<int64_t>{kFirstTick + 190});
}

TEST_F(HeartbeatTest, PressExactlyAtTheThresholdIsLongWithOnePuAndNoClick) {
  HoldForPasses(20);
  desk_.RunFor(1500);
  EXPECT_EQ(State().HoldTicks, 20);
  EXPECT_EQ(State().PressCode.Get(), "1");
  EXPECT_EQ(SoundTimes("pu.wav"), std::vector<int64_t>{kFirstTick + 200});
  EXPECT_TRUE(SoundTimes("Pomclick.wav").empty());
}

TEST_F(HeartbeatTest, ToggleHoldEntersKeyModeWithDoubleSound) {
  Do([this] { State().PressCode.Set("01"); });
  HoldForPasses(200);
  desk_.RunFor(3500);
  EXPECT_TRUE(State().KeyMode);
  EXPECT_EQ(State().PressCode.Get(), "KEY1");
  EXPECT_EQ(SoundTimes("pu.wav"),
            (std::vector<int64_t>{kFirstTick + 200, kFirstTick + 2000,
                                  kFirstTick + 2000}));
}

TEST_F(HeartbeatTest, ToggleHoldInKeyModeLeavesItAndKeepsTheCode) {
  Do([this] {
    State().KeyMode = true;
    State().PressCode.Set("KEY1");
  });
  HoldForPasses(200);
  desk_.RunFor(3500);
  EXPECT_FALSE(State().KeyMode);
  EXPECT_EQ(State().PressCode.Get(), "KEY11");
}

TEST_F(HeartbeatTest, NoToggleWhileTheCursorMoves) {
  Do([this] { State().Moving = true; });
  HoldForPasses(200);
  desk_.RunFor(3500);
  EXPECT_FALSE(State().KeyMode);
  EXPECT_EQ(State().PressCode.Get(), "1");
  EXPECT_EQ(SoundTimes("pu.wav").size(), 1u);
}

TEST_F(HeartbeatTest, HoldFarBeyondTheTogglePointTogglesOnce) {
  HoldForPasses(900);
  desk_.RunFor(11000);
  EXPECT_EQ(State().HoldTicks, 900);
  EXPECT_TRUE(State().KeyMode);
  EXPECT_EQ(State().PressCode.Get(), "KEY1");
  EXPECT_EQ(SoundTimes("pu.wav").size(), 3u);
}

TEST_F(HeartbeatTest, SoundsOffMakesNoSoundCall) {
  Do([this] { hopla_->SoundCheckBox.SetChecked(false); });
  HoldForPasses(200);
  desk_.RunFor(3500);
  desk_.HoldSwitch(4000, 4050);
  desk_.RunFor(1000);
  EXPECT_TRUE(desk_.TraceOf("sound").empty());
  EXPECT_EQ(State().PressCode.Get(), "KEY10");
}

TEST_F(HeartbeatTest, NothingIsExecutedWhileTheSwitchIsHeld) {
  std::vector<int64_t> executions;
  Do([&] {
    hopla_->TimeOverTimer.on_timer = [&](Component&) {
      executions.push_back(desk_.Now());
    };
  });
  // The cursor stands still: no mover enables the timer during the hold.
  HoldForPasses(400);  // about four seconds, far past the quiet time
  desk_.RunFor(6500);
  ASSERT_FALSE(executions.empty());
  const int64_t release_end = kFirstTick + 4000;
  for (int64_t at : executions) {
    EXPECT_FALSE(at > kFirstTick && at < release_end) << at;
  }
  // The first execution after the press comes one quiet time after it.
  const auto after =
      std::find_if(executions.begin(), executions.end(),
                   [&](int64_t at) { return at >= release_end; });
  ASSERT_NE(after, executions.end());
  EXPECT_EQ(*after, release_end + 1000);
}

TEST_F(HeartbeatTest, EachShortPressRestartsTheQuietTime) {
  std::vector<int64_t> executions;
  std::vector<std::string> codes;
  Do([&] {
    hopla_->TimeOverTimer.on_timer = [&](Component&) {
      executions.push_back(desk_.Now());
      codes.push_back(State().PressCode.Get());
    };
  });
  // Three short presses, each 700 ms after the last; the quiet time is 1 s.
  desk_.HoldSwitch(1000, 1060);
  desk_.HoldSwitch(1800, 1860);
  desk_.HoldSwitch(2600, 2660);
  desk_.RunFor(4000);
  ASSERT_FALSE(codes.empty());
  std::vector<int64_t> during;
  for (size_t i = 0; i < executions.size(); ++i) {
    if (executions[i] > 1000 && executions[i] < 3600) {
      during.push_back(executions[i]);
    }
  }
  EXPECT_TRUE(during.empty()) << during.front();
  EXPECT_EQ(State().PressCode.Get(), "000");
  EXPECT_EQ(SoundTimes("Pomclick.wav").size(), 3u);
}

TEST_F(HeartbeatTest, WithoutPressesTheExecutionTimerFiresEveryQuietTime) {
  std::vector<int64_t> executions;
  Do([&] {
    hopla_->TimeOverTimer.on_timer = [&](Component&) {
      executions.push_back(desk_.Now());
    };
  });
  desk_.RunFor(3500);
  ASSERT_GE(executions.size(), 3u);
  EXPECT_EQ(executions[1] - executions[0], 1000);
  EXPECT_EQ(executions[2] - executions[1], 1000);
}

TEST_F(HeartbeatTest, DeviceLostMidPressEndsThePress) {
  desk_.HoldSwitch(kFirstTick, kFirstTick + 60000);
  desk_.FailSwitch(kFirstTick + 300, kFirstTick + 60000);
  desk_.RunFor(2000);
  // Polls keep failing: the hold ends as a release within the bound and no
  // new press starts while the device is gone.
  EXPECT_EQ(State().PressCode.Get(), "1") << desk_.DumpTrace();
  EXPECT_LE(State().HoldTicks, 30 + kFailedHoldReleaseMs / 10 + 1);
  desk_.RunFor(5000);
  // One long press, so one left click, and nothing after it.
  EXPECT_EQ(State().PressCode.Get(), "");
  EXPECT_EQ(desk_.TraceOf("mouse").size(), 2u);
}

TEST_F(HeartbeatTest, ShortDeviceHiccupDoesNotSplitAPress) {
  desk_.HoldSwitch(kFirstTick, kFirstTick + 590);
  desk_.FailSwitch(kFirstTick + 100, kFirstTick + 150);
  desk_.RunFor(2000);
  EXPECT_EQ(State().PressCode.Get(), "1");
  EXPECT_EQ(State().HoldTicks, 60);
}

// JoyToKey's window gets the heartbeat message on every tick while JoyToKey
// use is ticked, and a hung JoyToKey does not stop the switch.
TEST_F(HeartbeatTest, JoyToKeyGetsTheHeartbeatAndCannotFreezeTheSwitch) {
  int received = 0;
  sim::ForeignWindow joytokey;
  joytokey.title = "JoyToKey v6.9";
  joytokey.handler = [&](uint32_t message, uintptr_t, intptr_t) -> intptr_t {
    if (message == kJoyToKeyHeartbeatMessage) ++received;
    return 0;
  };
  const WindowHandle window = desk_.AddWindow(joytokey);
  InstallJoyToKey(false);
  TickJoyToKey();
  ASSERT_EQ(State().JoyToKeyWindow, window);
  received = 0;
  desk_.RunFor(1000);
  EXPECT_GE(received, 19);
  EXPECT_LE(received, 21);

  desk_.SetHung(window, true);
  desk_.HoldSwitch(desk_.Now() + 500, desk_.Now() + 560);
  desk_.RunFor(1000);
  EXPECT_EQ(State().PressCode.Get(), "0");
}

TEST_F(HeartbeatTest, HeartbeatToNoWindowGoesNowhere) {
  InstallJoyToKey();
  TickJoyToKey();
  Do([&] { State().JoyToKeyWindow = kNoWindow; });
  desk_.ClearTrace();
  desk_.RunFor(200);
  const auto sends = desk_.TraceOf("send");
  ASSERT_FALSE(sends.empty());
  EXPECT_EQ(sends.front().text, "0 33768 0 0");
}

// The bubble through a whole code: the bar fills in steps during each hold,
// the marks and the command follow each release with the time left, and it
// is gone once the code has run. In key input mode it names the key.
TEST_F(HeartbeatTest, BubbleFollowsACodeFromTheFirstPressToItsRun) {
  desk_.HoldSwitch(kFirstTick, kFirstTick + 100);        // short
  desk_.HoldSwitch(kFirstTick + 400, kFirstTick + 800);  // long
  desk_.RunFor(kFirstTick + 800 + 1200 - desk_.Now());
  std::vector<std::string> seen;
  for (const auto& entry : desk_.TraceOf("bubble")) seen.push_back(entry.text);
  auto first_at = [&](const std::string& text) {
    return std::find(seen.begin(), seen.end(), text) - seen.begin();
  };
  // The bar in steps of 2%: to 1000 at the long point (20 polls), then on
  // towards the key input mode point.
  EXPECT_LT(first_at("■|短い押し（0）||40"), first_at("■|短い押し（0）||540"));
  EXPECT_LT(first_at("0 _|歩き始める|あと 1.0 秒|-1"),
            first_at("0 _|歩き始める|あと 0.5 秒|-1"));
  EXPECT_LT(first_at("0 ■|長い押し（1）||1000"),
            first_at("0 ■|長い押し（1）||1100"));
  EXPECT_LT(first_at("0 ■|長い押し（1）||1100"),
            first_at("0 1 _|右クリック|あと 1.0 秒|-1"));
  EXPECT_LT(first_at("0 1 _|右クリック|あと 0.1 秒|-1"), seen.size());
  EXPECT_EQ(seen.back(), "hidden");
  // One drawing per change, not per poll or tick.
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
  EXPECT_LT(seen.size(), 120u);

  desk_.ClearTrace();
  Do([this] {
    State().KeyMode = true;
    State().PressCode.Set("KEY1");
  });
  const int64_t at = desk_.Now() + 50;
  desk_.HoldSwitch(at, at + 30);
  desk_.RunFor(300);
  std::vector<std::string> keys;
  for (const auto& entry : desk_.TraceOf("bubble")) keys.push_back(entry.text);
  EXPECT_NE(std::find(keys.begin(), keys.end(), "0 _|Tab|あと 1.0 秒|-1"),
            keys.end());
}

// Any device can be the switch. A key tap shorter than a poll still counts;
// joystick 1 means nothing while another device is chosen; a chosen joystick
// that is unplugged is not pressed, and works again when it comes back.
TEST_F(HeartbeatTest, ChosenDeviceIsTheSwitchAndATapBetweenPollsCounts) {
  SwitchChoice key;
  key.kind = SwitchKind::kKey;
  key.key = 0x7C;
  SwitchChoice pad;
  pad.joystick = 2;
  pad.button = 5;
  auto use = [this](const SwitchChoice& device) {
    ExtendedSettings values;
    values.switch_choice = device;
    Do([this, values] { hopla_->SetExtended(values); });
  };
  use(key);
  desk_.HoldSwitch(1010, 1015, key);
  desk_.HoldSwitch(1300, 1600);  // joystick 1, button 1
  desk_.RunFor(2900);
  auto sounds_between = [this](const char* name, int64_t from, int64_t to) {
    const auto times = SoundTimes(name);
    return std::count_if(times.begin(), times.end(),
                         [&](int64_t t) { return t >= from && t < to; });
  };
  EXPECT_EQ(sounds_between("Pomclick.wav", 1050, 1100), 1);
  EXPECT_EQ(sounds_between("Pomclick.wav", 1100, 2900), 0);
  EXPECT_EQ(sounds_between("pu.wav", 0, 2900), 0);
  use(pad);
  desk_.HoldSwitch(3000, 3400, pad);
  desk_.FailSwitch(5000, 7000, 2);
  desk_.HoldSwitch(5500, 5900, pad);
  desk_.HoldSwitch(8000, 8050, pad);
  desk_.RunFor(6000);
  EXPECT_EQ(sounds_between("pu.wav", 3000, 3500), 1);
  EXPECT_EQ(sounds_between("pu.wav", 5000, 7000) +
                sounds_between("Pomclick.wav", 5000, 7000),
            0);
  EXPECT_EQ(sounds_between("Pomclick.wav", 8000, 8200), 1);
}

// A joystick that stays away is asked every 5 s instead of every poll; one
// lost for under a second, and one that answers again, at every poll.
TEST(AbsentDeviceRetryTest, AsksAnAbsentDeviceRarelyAndAReturnedOneAlways) {
  AbsentDeviceRetry retry;
  int64_t asked = 0;
  auto poll_for = [&](int64_t from_ms, int64_t to_ms, bool answers) {
    asked = 0;
    for (int64_t t = from_ms; t < to_ms; t += kHeartbeatIntervalMs) {
      if (!retry.ShouldAsk(t)) continue;
      ++asked;
      retry.Record(answers, t);
    }
  };
  poll_for(0, 950, false);  // a loose plug: still asked every time
  EXPECT_EQ(asked, 19);
  poll_for(950, 1000, true);
  poll_for(1000, 2000, false);
  EXPECT_EQ(asked, 20);
  poll_for(2000, 22000, false);  // gone: once every 5 s
  EXPECT_EQ(asked, 4);
  poll_for(22000, 28000, true);  // back: seen at the try at 26950, then
  EXPECT_EQ(asked, 1 + 20);      // asked at every poll again
}

// A carer's pause begun by the hot key during a drag: the walk stands, the
// button is let go, the caption and the menu say so and the switch reaches
// the programs; short and long presses run nothing, a hold to the key-mode
// point ends it with the key-mode sound (and leaves the mode as it was). The
// menu item begins and ends it too, and the next start is not paused.
TEST_F(HeartbeatTest, CarersPauseLeavesTheSwitchOnlyTheHoldThatEndsIt) {
  desk_.RunFor(Enter("110") - desk_.Now() + 1100);
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  ASSERT_TRUE(State().Moving && State().ButtonHeld);
  const uint32_t ctrl_alt = kModControl | kModAlt;
  ASSERT_TRUE(desk_.PressHotKey(desk_.Now(), ctrl_alt, 'P'));
  desk_.RunFor(100);
  sim::SimWidget* window = desk_.Widget(hopla_->Handle());
  auto paused_as_shown = [&] {
    return State().Paused && process_->SwitchLetThrough() &&
           window->MenuItemChecked(kPauseCommand) &&
           window->Text() == std::string(kWindowCaption) + kPausedNote;
  };
  EXPECT_TRUE(paused_as_shown());
  EXPECT_FALSE(State().Moving || State().ButtonHeld);
  EXPECT_TRUE(desk_.HeldInput().empty());
  const Point stood_at = desk_.Cursor();
  desk_.ClearTrace();
  desk_.RunFor(Enter("0110") - desk_.Now() + 2000);
  EXPECT_TRUE(paused_as_shown());
  EXPECT_EQ(desk_.Cursor(), stood_at);
  EXPECT_EQ(State().PressCode.Get(), "");
  EXPECT_TRUE(EventsOf({"mouse", "key", "flash"}).empty());
  EXPECT_TRUE(SoundTimes("Pomclick.wav").empty());

  const int64_t down = desk_.Now() + 100;
  desk_.HoldSwitch(down, down + 2100);
  desk_.RunFor(2500);
  EXPECT_FALSE(State().Paused || State().KeyMode);
  EXPECT_FALSE(process_->SwitchLetThrough());
  EXPECT_FALSE(window->MenuItemChecked(kPauseCommand));
  EXPECT_EQ(window->Text(), kWindowCaption);
  EXPECT_EQ(SoundTimes("pu.wav").size(), 2u + 1u + 2u);  // "0110", the hold
  EXPECT_EQ(State().PressCode.Get(), "");

  process_->PostAt(desk_.Now(), hopla_->Handle(), kWmSysCommand, kPauseCommand,
                   0);
  desk_.RunFor(100);
  EXPECT_TRUE(paused_as_shown());
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  ASSERT_FALSE(process_->Running());
  hopla_ = nullptr;
  Start();
  EXPECT_FALSE(State().Paused);
  EXPECT_FALSE(process_->SwitchLetThrough());
}

}  // namespace
}  // namespace hopla
