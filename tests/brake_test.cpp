// The brake as a person meets it: the walking cursor slows over the kinds of
// element ticked, by the strength chosen, "00" lets it pass until it has
// crossed plain ground, a probe that fails keeps the speed it had, and
// walking with the brake over the program's own buttons never hangs it.
#include "motion/brake.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hopla_fixture.h"
#include "platform/codepage.h"

namespace hopla {
namespace {

constexpr int32_t kRow = 100;  // above the program's window
constexpr RoleReading kPushButton{RoleReading::Kind::kNumber, 0x2B};
constexpr RoleReading kCheckButton{RoleReading::Kind::kNumber, 0x2C};
constexpr RoleReading kPlain{RoleReading::Kind::kNumber, 0x0A};
constexpr RoleReading kFails{RoleReading::Kind::kFailed, 0};
constexpr RoleReading kText{RoleReading::Kind::kText, 0};

class BrakeTest : public HoplaTest {
 protected:
  // Speed position 4: one pixel every 10 ms, 100 pixels a second.
  void StartBraking() {
    Start();
    Do([this] {
      hopla_->SpeedBar.SetPosition(4);
      hopla_->BreakYowaiRadioButton.SetChecked(true);  // 50 ms
      hopla_->BreakBtnCheckBox.SetChecked(true);
    });
  }

  void Region(int32_t left, int32_t right, RoleReading reading) {
    desk_.AddRoleRegion({left, kRow - 20, right, kRow + 20}, reading);
  }

  // Starts the walk to the right from `x` on the row.
  void WalkFrom(int32_t x) {
    desk_.PlaceCursor({x, kRow});
    Do([this] { State().PressCode.Set("0"); });
    desk_.ClearTrace();
  }

  // When the cursor first stood at `x` or beyond, from the trace.
  int64_t ReachedAt(int32_t x) const {
    for (const auto& entry : desk_.TraceOf("cursor")) {
      if (std::stoi(entry.text) >= x) return entry.time_ms;
    }
    return -1;
  }
  int64_t Crossing(int32_t from, int32_t to) const {
    return ReachedAt(to) - ReachedAt(from);
  }
};

// 100 pixels take a second on plain ground, six over a button (10 + 50 ms a
// pixel). The prober is asked ahead, so the pass that steps onto the
// button's first pixel is already slow, as if probing took no time (it takes
// 2 ms here).
TEST_F(BrakeTest, SlowsOverATickedKindByItsStrength) {
  StartBraking();
  Region(300, 400, kPushButton);
  Region(400, 450, kText);  // a role in words: no listed role
  WalkFrom(100);
  desk_.RunFor(12000);
  ASSERT_GT(ReachedAt(500), 0) << "did not get across";
  EXPECT_NEAR(Crossing(200, 300), 1000, 60);
  EXPECT_NEAR(Crossing(300, 400), 6000, 300);
  EXPECT_NEAR(Crossing(400, 500), 1000, 60);
  EXPECT_EQ(Crossing(299, 300), 10);
  EXPECT_EQ(Crossing(300, 301), 60);  // stepped onto it, and waits there
  EXPECT_FALSE(State().Braking);
}

// After slow answers the prober asks far ahead (some 300 px at the fastest
// speed with the boost); answers that then come quickly tell of a button the
// cursor has not reached. The brake follows the cursor, not the place asked
// about: no slowing short of the button (where "00" would turn), and the
// pass that steps onto it is slow.
TEST_F(BrakeTest, ActsWhereTheCursorIsNotWhereItAsked) {
  StartBraking();
  Do([this] {
    hopla_->SpeedBar.SetPosition(8);  // 5 px a millisecond
    State().SpeedFactor = 5;
  });
  Region(700, 800, kPushButton);
  desk_.SetProbeCost(15);
  WalkFrom(50);
  ASSERT_TRUE(desk_.RunUntil([this] { return desk_.Cursor().x >= 400; }, 5000));
  desk_.SetProbeCost(1);
  ASSERT_TRUE(desk_.RunUntil([this] { return desk_.Cursor().x >= 600; }, 1000));
  EXPECT_FALSE(State().Braking);
  desk_.RunFor(1000);
  EXPECT_LT(Crossing(450, 700), 20) << "slowed short of the button";
  EXPECT_GE(Crossing(700, 725), 50) << "not slowed on stepping onto it";
}

// Coming from a ticked kind onto a listed kind that is not ticked, the brake
// stays on; "00" lets the cursor pass both; plain ground arms it again.
TEST_F(BrakeTest, DoubleZeroReleasesUntilPlainGround) {
  StartBraking();
  Region(300, 350, kPushButton);
  Region(350, 400, kCheckButton);
  Region(400, 450, kPlain);
  Region(450, 500, kPushButton);
  WalkFrom(270);
  desk_.RunFor(1000);
  ASSERT_TRUE(desk_.RunUntil([this] { return bool{State().Braking}; }, 1000));
  Do([this] { State().PressCode.Set("00"); });
  desk_.RunFor(1500);
  EXPECT_TRUE(State().BrakeReleased);
  EXPECT_EQ(State().Direction, 1) << "\"00\" released instead of turning";
  desk_.RunFor(6000);
  EXPECT_NEAR(Crossing(360, 400), 400, 60) << "the released brake held";
  EXPECT_NEAR(Crossing(460, 490), 1800, 150) << "not armed again";
}

struct ReadingCase {
  const char* what;
  bool braking;
  bool released;
  RoleReading reading;
  bool braking_after;
  bool released_after;
  int32_t step_delay_after;  // the slider's is 10, the strength adds 50
};

class BrakeReadingTest : public ::testing::TestWithParam<ReadingCase> {};

// The probe's decision with each kind of answer, the button kind ticked:
// a failed probe leaves everything, even a raised StepDelay of 77.
TEST_P(BrakeReadingTest, DecidesFromTheAnswer) {
  const ReadingCase& c = GetParam();
  EngineState state;
  state.BrakeKinds = kBrakeButton.bit;
  state.BrakeDelay = 50;
  state.SpeedPosition = 4;  // 10 ms a pass
  state.StepDelay = 77;
  state.Braking = c.braking;
  state.BrakeReleased = c.released;
  ApplyBrakeReading(state, c.reading);
  EXPECT_EQ(state.Braking, c.braking_after) << c.what;
  EXPECT_EQ(state.BrakeReleased, c.released_after) << c.what;
  EXPECT_EQ(state.StepDelay, c.step_delay_after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BrakeReadingTest,
    ::testing::Values(
        ReadingCase{"ticked kind", false, false, kPushButton, true, false, 60},
        ReadingCase{"released over it", true, true, kPushButton, true, true,
                    10},
        ReadingCase{"unticked kind keeps braking", true, false, kCheckButton,
                    true, false, 60},
        ReadingCase{"unticked kind, free", false, false, kCheckButton, false,
                    false, 10},
        ReadingCase{"plain ground arms again", true, true, kPlain, false, false,
                    10},
        ReadingCase{"role in words", true, false, kText, false, false, 10},
        ReadingCase{"role beyond a byte",
                    true,
                    false,
                    {RoleReading::Kind::kNumber, 0x12B},
                    false,
                    false,
                    10},
        ReadingCase{"failed probe", true, false, kFails, true, false, 77}));

// The start-menu and text-box boxes select no role: ticked alone, the
// cursor never slows and nothing is probed.
TEST_F(BrakeTest, StartMenuAndTextBoxAloneNeverSlow) {
  Start();
  Do([this] {
    hopla_->SpeedBar.SetPosition(4);
    hopla_->BreakTuyoiRadioButton.SetChecked(true);
    hopla_->BreakStartMenuCheckBox.SetChecked(true);
    hopla_->BreakTextBoxCheckBox.SetChecked(true);
  });
  Region(300, 400, kPushButton);
  WalkFrom(250);
  desk_.RunFor(4000);
  EXPECT_NEAR(Crossing(300, 400), 1000, 60);
  EXPECT_EQ(desk_.ProbeCount(), 0);
}

// With no settings file the kind boxes are clear and disabled; stored kinds
// reach the brake through their handlers, even before a strength enables
// them; "none" disables them again and keeps the ticks.
TEST_F(BrakeTest, StrengthEnablesTheKindBoxesAndLoadedKindsCount) {
  Start();
  for (const CheckBox* box :
       {&hopla_->BreakIconCheckBox, &hopla_->BreakStartMenuCheckBox,
        &hopla_->BreakTextBoxCheckBox, &hopla_->BreakLinkCheckBox}) {
    EXPECT_FALSE(box->Enabled()) << box->Name();
    EXPECT_FALSE(box->Checked()) << box->Name();
  }
  EXPECT_EQ(State().BrakeKinds, 0u);
  EXPECT_FALSE(hopla_->CheckBox5.Enabled());

  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  hopla_ = nullptr;
  desk_.PutFile(".\\Hoplar.ini",
                *Utf8ToCp932("[ブレーキ]\r\n強さ=100\r\nボタン=1\r\n"
                             "ラジオボタン=1\r\nアイコン=0\r\n"));
  Start();
  EXPECT_EQ(State().BrakeKinds, kBrakeButton.bit | kBrakeRadio.bit);
  EXPECT_EQ(State().BrakeDelay, 100);
  EXPECT_TRUE(hopla_->BreakChuuRadioButton.Checked());
  EXPECT_TRUE(hopla_->BreakLinkCheckBox.Enabled());
  EXPECT_FALSE(hopla_->CheckBox1.Enabled());
  Do([this] { hopla_->BreakNasiRadioButton.SetChecked(true); });
  EXPECT_EQ(State().BrakeDelay, 1);
  EXPECT_FALSE(hopla_->BreakBtnCheckBox.Enabled());
  EXPECT_TRUE(hopla_->BreakBtnCheckBox.Checked());
  Do([this] { hopla_->BreakRadioCheckBox.SetChecked(false); });
  EXPECT_EQ(State().BrakeKinds, kBrakeButton.bit);
}

// The probe over the program's own window needs its UI thread to answer,
// which it cannot while a press is held. Walking with the brake over its
// own buttons, pressing, and quitting still ends at once, with no thread
// left (a probe in flight included), and the cursor slowed over those
// buttons.
TEST_F(BrakeTest, WalkingOverOwnButtonsPressingAndQuittingNeverHangs) {
  StartBraking();
  const Rect window = *desk_.WindowRectOf(hopla_->Handle());
  const int32_t row = window.top + 40;  // through 最小化, HELP and 終了
  desk_.PlaceCursor({window.left + 380, row});
  Do([this] { State().PressCode.Set("0"); });
  desk_.ClearTrace();
  desk_.RunFor(2000);
  EXPECT_TRUE(State().Braking) << "no brake over its own buttons";
  EXPECT_GT(desk_.ProbeCount(), 10);
  desk_.RunFor(Enter("0") - desk_.Now());  // held while over a button
  const int64_t asked = desk_.Now() + 300;
  process_->At(asked, [this] { hopla_->ShuuryouBtnClick(*hopla_); });
  ASSERT_TRUE(desk_.RunUntil([this] { return !process_->Running(); }, 5000));
  EXPECT_LT(desk_.TraceOf("exit").at(0).time_ms - asked, 1000);
  EXPECT_EQ(process_->ThreadsLeftAtExit(), 0);
}

}  // namespace
}  // namespace hopla
