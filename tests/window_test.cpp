// The window's own behaviour on the simulated desktop: the stepping buttons,
// the hover growth, the cursor over the link, the link, the minimise button
// and the banner.
#include <gtest/gtest.h>

#include "hopla_fixture.h"
#include "platform/sim/sim_widgets.h"

namespace hopla {
namespace {

using K = MouseButtonKind;

class WindowTest : public HoplaTest {
 protected:
  sim::SimWidget& Peer(Control& control) {
    return *desk_.Widget(control.Handle());
  }
};

// Each press steps, whichever button and however quickly; at an end the
// slider stays and its map still runs; a held button steps once; the
// release and the keys step nothing.
TEST_F(WindowTest, SteppingButtonsStepOnEveryPressAndAlwaysRunTheMap) {
  Start();
  Do([&] { hopla_->SpeedBar.SetPosition(1); });
  const int32_t slowest = State().StepDelay;
  State().StepDelay = 999;  // what the brake's lengthened pause leaves
  Do([&] { Peer(hopla_->CuteButton1).UserMouseDown(K::kLeft); });
  EXPECT_EQ(hopla_->SpeedBar.Position(), 1);
  EXPECT_EQ(State().StepDelay, slowest);
  Do([&] {
    sim::SimWidget& faster = Peer(hopla_->CuteButton2);
    faster.UserMouseUp(K::kLeft);
    faster.UserMouseDown(K::kRight);  // right steps like left
    faster.UserMouseUp(K::kRight);
    // A double click is two presses.
    faster.UserMouseDown(K::kLeft);
    faster.UserMouseUp(K::kLeft);
    faster.UserMouseDown(K::kLeft);
    faster.UserMouseUp(K::kLeft);
    faster.UserFocus(true);
    faster.UserKey(kKeySpace, true);
    faster.UserKey(kKeyReturn, true);
  });
  EXPECT_EQ(hopla_->SpeedBar.Position(), 4);
  for (int i = 0; i < 6; ++i) {
    Do([&] { Peer(hopla_->CuteButton8).UserMouseDown(K::kMiddle); });
  }
  EXPECT_EQ(hopla_->KeyModeBar.Position(), 8);
  const int32_t long_press = hopla_->NagaHanteiTrackBar.Position();
  const int32_t delay = hopla_->JikkouTrackBar.Position();
  Do([&] { Peer(hopla_->CuteButton3).UserMouseDown(K::kLeft); });
  Do([&] { Peer(hopla_->CuteButton6).UserMouseDown(K::kLeft); });
  EXPECT_EQ(hopla_->NagaHanteiTrackBar.Position(), long_press - 1);
  EXPECT_EQ(hopla_->JikkouTrackBar.Position(), delay + 1);
}

// Under the pointer a stepping button measures 51 x 43 with its corner where
// it was, and 41 x 33 again after; only that button changes.
TEST_F(WindowTest, SteppingButtonGrowsUnderThePointer) {
  Start();
  const Rect normal{376, 232, 417, 265};
  ASSERT_EQ(hopla_->CuteButton6.Bounds(), normal);
  Do([&] { Peer(hopla_->CuteButton6).UserMouseEnter(); });
  EXPECT_EQ(hopla_->CuteButton6.Bounds(), (Rect{376, 232, 427, 275}));
  EXPECT_EQ(Peer(hopla_->CuteButton6).Bounds(), (Rect{376, 232, 427, 275}));
  EXPECT_EQ(hopla_->CuteButton5.Bounds(), (Rect{128, 232, 169, 265}));
  Do([&] { Peer(hopla_->CuteButton6).UserMouseLeave(); });
  EXPECT_EQ(hopla_->CuteButton6.Bounds(), normal);
}

// The hand over the link stays over every control until the pointer
// crosses bare background; a click opens the home page; the minimise button
// minimises the foreground window and remembers it for the restore.
TEST_F(WindowTest, LinkCursorAndMinimiseButton) {
  Start();
  sim::SimWidget& application = *desk_.Widget(AppWindow());
  EXPECT_EQ(application.Cursor(), CursorShape::kNone);
  Do([&] { Peer(hopla_->Label3).UserMouseMove(); });
  EXPECT_EQ(application.Cursor(), CursorShape::kHandPoint);
  Do([&] { Peer(*hopla_).UserMouseMove({300, 400}); });
  EXPECT_EQ(application.Cursor(), CursorShape::kArrow);
  Do([&] { Peer(hopla_->Label3).UserClick(); });
  EXPECT_EQ(desk_.TraceOf("shell").back().text, kHomePageUrl);
  ASSERT_EQ(desk_.Foreground(), hopla_->Handle());
  Do([&] { Peer(hopla_->SaishoukaButton).UserClick(); });
  // Its own window's minimise leaves the application for the restore.
  EXPECT_EQ(State().MinimisedWindow, AppWindow());
  EXPECT_TRUE(desk_.IsMinimised(AppWindow()));
}

// The banner starts with the window, a pass lasts 50 s, showing the window
// again does not restart it, and each pass starts again from the right.
TEST_F(WindowTest, BannerRunsPassAfterPass) {
  Start();
  TMarqueeLabel& banner = hopla_->MarqueeLabel1;
  EXPECT_TRUE(banner.Running());
  EXPECT_EQ(banner.Caption(), BannerText());
  EXPECT_EQ(BannerText().substr(BannerText().size() - 5), "     ");
  EXPECT_NE(BannerText().find("\u3000\u300000000-0-00000\u3000「ポムラボ。」"),
            std::string::npos);
  desk_.RunFor(10000);
  const int32_t step = banner.GetCurrentStep();
  EXPECT_NEAR(step, 100, 1);
  Do([&] { hopla_->FormShow(*hopla_); });
  EXPECT_EQ(banner.GetCurrentStep(), step);
  desk_.RunFor(40000 + 1000);
  EXPECT_TRUE(banner.Running());
  EXPECT_NEAR(banner.GetCurrentStep(), 10, 1);
}

}  // namespace
}  // namespace hopla
