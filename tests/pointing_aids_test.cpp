// The aids to pointing as a person at the switch meets them: the hop to the
// next element, the stop with a click, and element stepping, each doing
// nothing until switched on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "executor_fixture.h"
#include "motion/element_hop.h"

namespace hopla {
namespace {

using PointingAidTest = ExecutorTest;

// The hop, "01" while walking: nothing while it is off; on, the cursor goes
// to the clickable element ahead (the one in line before a nearer one
// beside it; none behind, none under the cursor, no plain ground or label)
// and stands there, a held button let go, so "1" clicks it; with nothing
// ahead, a beep and the walk goes on.
TEST_F(PointingAidTest, HopStopsOnTheNextElementAheadOnlyWhenSwitchedOn) {
  constexpr int64_t kButton = 0x2B, kCheck = 0x2C, kLabel = 0x29;
  // Right of and below the program's window, whose own controls count too.
  auto region = [this](Rect r, int64_t role) {
    desk_.AddRoleRegion(r, {RoleReading::Kind::kNumber, role});
  };
  region({600, 580, 640, 620}, kButton);  // behind
  region({700, 550, 1000, 650}, 0x0A);    // plain ground
  region({910, 580, 950, 620}, kButton);
  region({850, 630, 880, 660}, kCheck);  // nearer, but beside
  region({780, 590, 820, 610}, kLabel);
  desk_.PlaceCursor({700, 600});
  // A drag: the held button is let go where the hop lands.
  desk_.RunFor(Enter("110") - desk_.Now() + 1100);
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  ASSERT_TRUE(State().Moving);
  const int32_t before = desk_.Cursor().x;
  desk_.RunFor(Enter("01") - desk_.Now() + 1100);
  EXPECT_TRUE(State().Moving);  // off: as ever, nothing
  EXPECT_LT(desk_.Cursor().x, 910);
  EXPECT_GT(desk_.Cursor().x, before);
  SetExtended([](ExtendedSettings& values) { values.hop = true; });
  desk_.ClearTrace();
  desk_.RunFor(Enter("01") - desk_.Now() + 1100);
  EXPECT_FALSE(State().Moving);
  EXPECT_EQ(desk_.Cursor(), (Point{930, 600}));
  EXPECT_EQ(Done(), (Events{"mouse 32772 930,600"}));
  EXPECT_FALSE(State().ButtonHeld);
  desk_.RunFor(3000);
  EXPECT_EQ(desk_.Cursor(), (Point{930, 600}));
  desk_.ClearTrace();
  desk_.RunFor(Enter("1") - desk_.Now() + 1100);
  EXPECT_EQ(Done(), (Events{"mouse 32770 930,600", "mouse 32772 930,600"}));
  // On to the right: nothing ahead.
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  desk_.ClearTrace();
  desk_.RunFor(Enter("01") - desk_.Now() + 1100);
  EXPECT_EQ(desk_.TraceOf("beep").size(), 1u);
  EXPECT_TRUE(State().Moving);
  EXPECT_EQ(State().Direction, 1);
}

// A program that hangs holds the hop up for 1.5 s at most: a beep, and the
// walk goes on; once it answers again, the hop lands.
TEST_F(PointingAidTest, HopGivesUpOnAHungProgramAndLandsOnceItAnswers) {
  desk_.AddRoleRegion({910, 580, 950, 620}, {RoleReading::Kind::kNumber, 0x2B});
  const WindowHandle hung =
      desk_.AddWindow({"Hung", {980, 100, 1020, 140}, nullptr, true});
  SetExtended([](ExtendedSettings& values) { values.hop = true; });
  desk_.PlaceCursor({700, 600});
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  desk_.ClearTrace();
  const int64_t released = Enter("01");
  desk_.RunFor(released - desk_.Now() + 3000);
  const auto beeps = desk_.TraceOf("beep");
  ASSERT_EQ(beeps.size(), 1u);
  EXPECT_NEAR(beeps[0].time_ms - released, 1000 + kHopWaitMs, 100);
  EXPECT_TRUE(State().Moving);
  desk_.SetHung(hung, false);
  desk_.RunFor(Enter("01") - desk_.Now() + 1100);
  EXPECT_EQ(desk_.Cursor(), (Point{930, 600}));
  EXPECT_FALSE(State().Moving);
}

// "11" while walking does nothing until the stop with a click is switched
// on; then it does what "1" and "1" do, where the first press halted the
// walk: a drag is dropped there, then the click.
TEST_F(PointingAidTest, StopWithAClickIsTheStopAndTheClickOfTwoCodes) {
  desk_.PlaceCursor({700, 600});
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  desk_.ClearTrace();
  desk_.RunFor(Enter("11") - desk_.Now() + 1100);
  EXPECT_TRUE(State().Moving);
  EXPECT_EQ(Done(), Events{});
  SetExtended([](ExtendedSettings& values) { values.stop_click = true; });
  desk_.RunFor(Enter("1") - desk_.Now() + 1100);
  desk_.RunFor(Enter("110") - desk_.Now() + 1100);
  desk_.RunFor(Enter("0") - desk_.Now() + 1100);
  desk_.ClearTrace();
  const int64_t released = Enter("11");
  desk_.RunFor(100 + 60);  // the first press is seen within a tick
  const Point halted = desk_.Cursor();
  desk_.RunFor(released - desk_.Now() + 3000);
  EXPECT_FALSE(State().Moving);
  EXPECT_FALSE(State().ButtonHeld);
  EXPECT_EQ(desk_.Cursor(), halted);
  const std::string at =
      std::to_string(halted.x) + "," + std::to_string(halted.y);
  EXPECT_EQ(Done(), (Events{"mouse 32772 " + at, "mouse 32770 " + at,
                            "mouse 32772 " + at}));
  // The bubble told the person what the code would do.
  const auto bubble = desk_.TraceOf("bubble");
  EXPECT_TRUE(std::any_of(bubble.begin(), bubble.end(), [](const auto& e) {
    return e.text.find("1 1 _|止まってクリック|") == 0;
  }));
}

// With element stepping the walk goes from element to element ahead: the
// first at once, then one a pace; a press holds it where it is, a code that
// leaves the way as it was keeps the rhythm, and past the last element it
// walks on.
TEST_F(PointingAidTest, ElementSteppingGoesOneElementAPaceUntilAPress) {
  desk_.AddRoleRegion({200, 500, 1000, 700},
                      {RoleReading::Kind::kNumber, 0x0A});
  for (int32_t left : {400, 500, 600}) {
    desk_.AddRoleRegion({left, 580, left + 40, 620},
                        {RoleReading::Kind::kNumber, 0x2B});
  }
  SetExtended([](ExtendedSettings& values) {
    values.element_step = true;
    values.step_pace = 5;
  });
  desk_.PlaceCursor({300, 600});
  desk_.RunFor(Enter("0") - desk_.Now() + 1050);  // runs 1000 ms on
  EXPECT_EQ(desk_.Cursor(), (Point{420, 600}));
  desk_.RunFor(400);
  EXPECT_EQ(desk_.Cursor(), (Point{420, 600}));
  desk_.RunFor(200);
  EXPECT_EQ(desk_.Cursor(), (Point{520, 600}));
  // "10" does nothing while walking: held during the code, then on.
  desk_.RunFor(Enter("10", 0) - desk_.Now() + 1050);
  EXPECT_EQ(desk_.Cursor(), (Point{620, 600}));
  EXPECT_TRUE(State().Moving);
  // Nothing ahead: it walks, a pixel a step.
  desk_.RunFor(1000);
  EXPECT_GT(desk_.Cursor().x, 640);
  desk_.RunFor(Enter("1", 0) - desk_.Now() + 1100);
  EXPECT_FALSE(State().Moving);
}

// A program that hangs keeps a look from ending: the stepping walks on
// meanwhile, and leaves three looks hanging at most, however long it hangs.
TEST_F(PointingAidTest,
       ElementSteppingWalksPastAHungProgramWithThreeLooksAtMost) {
  desk_.AddRoleRegion({900, 580, 940, 620}, {RoleReading::Kind::kNumber, 0x2B});
  const WindowHandle hung =
      desk_.AddWindow({"Hung", {980, 100, 1020, 140}, nullptr, true});
  SetExtended([](ExtendedSettings& values) {
    values.element_step = true;
    values.step_pace = 3;
  });
  desk_.PlaceCursor({300, 600});
  const int32_t threads = process_->ThreadsRunning();
  desk_.RunFor(Enter("0") - desk_.Now() + 1000 + 9000);
  EXPECT_EQ(process_->ThreadsRunning(), threads + 4);  // the mover, 3 looks
  EXPECT_GT(desk_.Cursor().x, 400);
  EXPECT_LT(desk_.Cursor().x, 900);
  EXPECT_TRUE(State().Moving);
  desk_.SetHung(hung, false);
  desk_.RunFor(Enter("1") - desk_.Now() + 1100);
  EXPECT_FALSE(State().Moving);
}

}  // namespace
}  // namespace hopla
