// The stepping button and the banner on the simulated desktop: their state
// machines as a person drives them, and what they paint.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/cute_button.h"
#include "controls/marquee_label.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_widgets.h"
#include "recording_canvas.h"
#include "toolkit/application.h"
#include "toolkit/form.h"

namespace hopla {
namespace {

using testing::kDark;
using testing::kFace;
using testing::kLight;
using testing::RecordingCanvas;
using Notes = std::vector<std::string>;

WidgetArgs Place(int32_t left, int32_t top, int32_t width, int32_t height,
                 const std::string& caption = "") {
  WidgetArgs desc;
  desc.caption = caption;
  desc.bounds = {left, top, left + width, top + height};
  return desc;
}

// A program with a form holding one button (left at its own size) and one
// banner of 100 x 20; every event of theirs is noted with what the button
// showed at that moment.
class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    process_ = &desk_.Launch("controls.exe", [this](Platform& platform) {
      Application app(platform);
      WidgetArgs form_desc = Place(0, 0, 300, 200, "form");
      form_desc.kind = WidgetKind::kForm;
      Form form(app, "Form", form_desc);
      TCuteButton button(app, form, "Button", Place(10, 10, 0, 0, "&Go"));
      TMarqueeLabel banner(app, form, "Banner", Place(10, 50, 100, 20, "AB"));
      button.OnMouseEnter = [&](Component&) { Note("enter", button); };
      button.OnMouseLeave = [&](Component&) { Note("leave", button); };
      button.on_click = [&](Component&) { Note("click", button); };
      button.on_mouse_down = [&](Component&, MouseButtonKind, Point) {
        Note("down", button);
      };
      banner.OnBegin = [&](Component&) { Note("begin", banner); };
      banner.OnStep = [&](Component&) { Note("step", banner); };
      banner.OnEnd = [&](Component&) {
        Note("end", banner);
        if (on_end) on_end();
      };
      app_ = &app;
      button_ = &button;
      banner_ = &banner;
      form.ShowFirst();
      app.RunLoop();
      button_ = nullptr;
      banner_ = nullptr;
      return 0;
    });
    desk_.RunFor(0);
    ASSERT_NE(button_, nullptr);
  }
  void TearDown() override {
    Do([this] { app_->Terminate(); });
    desk_.RunFor(10);
  }

  void Do(const std::function<void()>& action) {
    process_->At(desk_.Now(), action);
    desk_.RunFor(0);
  }
  sim::SimWidget& Peer(Control& control) {
    return *desk_.Widget(control.Handle());
  }
  void Note(const std::string& what, TCuteButton& button) {
    static const char* kBevels[] = {"none", "raised", "lowered"};
    notes_.push_back(what + " " +
                     kBevels[static_cast<int>(button.BevelOuter())]);
  }
  void Note(const std::string& what, TMarqueeLabel& banner) {
    notes_.push_back(what + " " + std::to_string(banner.GetCurrentStep()));
  }
  // The bevel after one action of the person's on the button.
  Bevel After(const std::function<void(sim::SimWidget&)>& act) {
    Do([&] { act(Peer(*button_)); });
    return button_->BevelOuter();
  }

  sim::SimDesktop desk_;
  sim::SimProcess* process_ = nullptr;
  Application* app_ = nullptr;
  TCuteButton* button_ = nullptr;
  TMarqueeLabel* banner_ = nullptr;
  std::function<void()> on_end;
  Notes notes_;
};

// Fresh: 75 x 25, a tab stop, only the raised inner rim, which the paint
// shows light at the top left and dark at the bottom right around the face.
TEST_F(ControlsTest, FreshButtonShowsOnlyItsRaisedInnerRim) {
  EXPECT_EQ(button_->Bounds(), (Rect{10, 10, 85, 35}));
  EXPECT_TRUE(Peer(*button_).CreatedAs().tab_stop);
  EXPECT_EQ(button_->BevelOuter(), Bevel::kNone);
  EXPECT_EQ(button_->BevelInner(), Bevel::kRaised);
  RecordingCanvas canvas(75, 25);
  Peer(*button_).PaintTo(canvas);
  EXPECT_EQ(canvas.At(0, 0), kLight);
  EXPECT_EQ(canvas.At(74, 24), kDark);
  EXPECT_EQ(canvas.At(1, 1), kFace);
  ASSERT_EQ(canvas.texts.size(), 1u);
  // "&Go" is 3 characters of 6 px; "W" is 12 high.
  EXPECT_EQ(canvas.texts[0].at, (Point{(75 - 18) / 2, (25 - 12) / 2}));
}

// The outer bevel through the pointer, the buttons and the focus, with the
// order of the handlers: enter and leave fire before the bevel changes.
TEST_F(ControlsTest, OuterBevelFollowsThePointerTheButtonsAndTheFocus) {
  using K = MouseButtonKind;
  EXPECT_EQ(After([](auto& p) { p.UserMouseEnter(); }), Bevel::kRaised);
  EXPECT_EQ(After([](auto& p) { p.UserMouseDown(K::kLeft); }), Bevel::kLowered);
  // Released over the button: flat, even though the pointer stays on it.
  EXPECT_EQ(After([](auto& p) { p.UserMouseUp(K::kLeft); }), Bevel::kNone);
  EXPECT_EQ(After([](auto& p) { p.UserMouseDown(K::kRight); }), Bevel::kNone);
  EXPECT_EQ(After([](auto& p) { p.UserMouseUp(K::kRight); }), Bevel::kNone);
  EXPECT_EQ(After([](auto& p) { p.UserMouseDown(K::kMiddle); }), Bevel::kNone);
  EXPECT_EQ(After([](auto& p) { p.UserMouseUp(K::kMiddle); }), Bevel::kNone);
  EXPECT_EQ(Peer(*button_).CaptureReleases(), 3);  // every release lets go
  EXPECT_EQ(After([](auto& p) { p.UserMouseLeave(); }), Bevel::kNone);
  // A drag coming from elsewhere: lowered at once.
  desk_.HoldLeftButton(true);
  EXPECT_EQ(After([](auto& p) { p.UserMouseEnter(); }), Bevel::kLowered);
  desk_.HoldLeftButton(false);
  EXPECT_EQ(After([](auto& p) { p.UserMouseLeave(); }), Bevel::kNone);
  EXPECT_EQ(After([](auto& p) { p.UserFocus(true); }), Bevel::kRaised);
  EXPECT_EQ(After([](auto& p) { p.UserMouseLeave(); }), Bevel::kNone);
  EXPECT_EQ(After([](auto& p) { p.UserFocus(true); }), Bevel::kRaised);
  EXPECT_EQ(After([](auto& p) { p.UserFocus(false); }), Bevel::kNone);
  EXPECT_EQ(notes_, (Notes{"enter none", "down lowered", "click lowered",
                           "down none", "down none", "leave none", "enter none",
                           "leave lowered", "leave raised"}));
}

// Space and Enter click once per key-down (auto-repeat included) and end
// raised; other keys do nothing; the mnemonic clicks without a bevel change;
// a right release does not click.
TEST_F(ControlsTest, KeysAndTheMnemonicClick) {
  EXPECT_EQ(After([](auto& p) { p.UserKey(kKeySpace, true); }), Bevel::kRaised);
  EXPECT_EQ(After([](auto& p) { p.UserKey(kKeySpace, true); }), Bevel::kRaised);
  EXPECT_EQ(After([](auto& p) { p.UserKey(kKeySpace, false); }),
            Bevel::kRaised);
  After([](auto& p) { p.UserKey(kKeyReturn, true); });
  After([](auto& p) { p.UserKey('A', true); });
  EXPECT_EQ(notes_, (Notes{"click lowered", "click lowered", "click lowered"}));
  notes_.clear();
  After([](auto& p) { p.UserFocus(false); });
  bool taken = false;
  Do([&] { taken = Peer(*button_).UserDialogChar('G'); });
  EXPECT_TRUE(taken);
  Do([&] { taken = Peer(*button_).UserDialogChar('x'); });
  EXPECT_FALSE(taken);
  After([](auto& p) { p.UserMouseDown(MouseButtonKind::kRight); });
  After([](auto& p) { p.UserMouseUp(MouseButtonKind::kRight); });
  // Pressed, then released off the button: no click either.
  After([](auto& p) { p.UserMouseDown(MouseButtonKind::kLeft); });
  After([](auto& p) { p.UserMouseUp(MouseButtonKind::kLeft, {200, 5}); });
  EXPECT_EQ(notes_, (Notes{"click none", "down none", "down lowered"}));
  EXPECT_EQ(MnemonicOf("a&&b"), 0u);
}

// Flat takes the inner rim away, once: the same value does not repaint.
TEST_F(ControlsTest, FlatButtonIsAPlainFace) {
  const int before = Peer(*button_).Invalidations();
  Do([&] { button_->SetFlat(true); });
  Do([&] { button_->SetFlat(true); });
  EXPECT_EQ(Peer(*button_).Invalidations(), before + 1);
  RecordingCanvas canvas(75, 25);
  Peer(*button_).PaintTo(canvas);
  EXPECT_EQ(canvas.At(0, 0), kFace);
  EXPECT_EQ(canvas.At(74, 24), kFace);
}

// Where the caption stands: beyond the right edge at step 0, just gone by
// the left at the last; halves go to the even neighbour.
TEST(MarqueeX, RunsFromEdgeToEdgeRoundingHalvesToEven) {
  EXPECT_EQ(MarqueeX(mlRightToLeft, 0, 50, 100, 30), 100);
  EXPECT_EQ(MarqueeX(mlRightToLeft, 50, 50, 100, 30), -30);
  EXPECT_EQ(MarqueeX(mlLeftToRight, 0, 50, 100, 30), -30);
  EXPECT_EQ(MarqueeX(mlLeftToRight, 50, 50, 100, 30), 100);
  // (1 - 1/2) x 13 = 6.5 -> 6; x 15 = 7.5 -> 8.
  EXPECT_EQ(MarqueeX(mlRightToLeft, 1, 2, 10, 3), 6 - 3);
  EXPECT_EQ(MarqueeX(mlRightToLeft, 1, 2, 10, 5), 8 - 5);
  // A step in one direction stands where Steps minus it does in the other.
  for (int step = 0; step <= 7; ++step) {
    EXPECT_EQ(MarqueeX(mlRightToLeft, step, 7, 345, 91),
              MarqueeX(mlLeftToRight, 7 - step, 7, 345, 91));
  }
}

// Painting: background only before a start; a negative shadow offset puts
// the shadow, not the text, at the edge; a label too low draws from its top.
TEST_F(ControlsTest, BannerPaintsItsCaptionAndShadowBeyondTheEdge) {
  RecordingCanvas idle(100, 20);
  Peer(*banner_).PaintTo(idle);
  EXPECT_EQ(idle.At(0, 0), kFace);
  ASSERT_EQ(idle.texts.size(), 2u);  // shadow, then text, both off the label
  EXPECT_EQ(idle.texts[0].at, (Point{102, 5}));  // (20 - 12 - 2) / 2 = 3 + 2
  EXPECT_EQ(idle.texts[1].at, (Point{100, 3}));
  EXPECT_EQ(idle.texts[0].color, (Color{128, 128, 128}));
  const int before = Peer(*banner_).Invalidations();
  Do([&] {
    banner_->Shadow().SetOffsetLeft(-3);
    banner_->Shadow().SetOffsetLeft(-3);
  });
  EXPECT_EQ(Peer(*banner_).Invalidations(), before + 1);
  RecordingCanvas shifted(100, 20);
  Peer(*banner_).PaintTo(shifted);
  EXPECT_EQ(shifted.texts[0].at.x, 100);  // the shadow at the edge
  EXPECT_EQ(shifted.texts[1].at.x, 103);
  RecordingCanvas low(100, 8);
  Peer(*banner_).PaintTo(low);
  EXPECT_EQ(low.texts[1].at.y, 0);
  // Hidden, the shadow is neither drawn nor lowers the text.
  Do([&] { banner_->Shadow().SetVisible(false); });
  RecordingCanvas plain(100, 20);
  Peer(*banner_).PaintTo(plain);
  ASSERT_EQ(plain.texts.size(), 1u);
  EXPECT_EQ(plain.texts[0].at, (Point{100, 4}));
}

// Start, Stop and Reverse, the clamps, and the events of whole passes.
TEST_F(ControlsTest, BannerPassesStopsResumesAndReverses) {
  Do([&] {
    banner_->SetSteps(0);
    EXPECT_EQ(banner_->Steps(), 1);
    banner_->SetSpeed(0);
    EXPECT_EQ(banner_->Speed(), 1);
    banner_->SetSpeed(5000);
    EXPECT_EQ(banner_->Speed(), 1000);
    banner_->SetSpeed(100);
    banner_->SetSteps(10);
    banner_->Start(-1);
  });
  EXPECT_EQ(banner_->GetCurrentStep(), 0);
  desk_.RunFor(99);
  EXPECT_TRUE(notes_.empty());  // the first step comes one interval later
  desk_.RunFor(602);
  int32_t stopped = 0;
  Do([&] {
    banner_->Start(3);  // running: changes nothing
    stopped = banner_->Stop();
  });
  EXPECT_EQ(stopped, 7);
  desk_.RunFor(500);
  EXPECT_EQ(banner_->GetCurrentStep(), 7);
  Do([&] {
    banner_->Start(banner_->GetCurrentStep());
    banner_->Reverse();
  });
  EXPECT_EQ(banner_->GetCurrentStep(), 3);
  EXPECT_EQ(banner_->Direction(), mlLeftToRight);
  desk_.RunFor(1000);
  Notes expected{"begin 0"};
  for (int step = 1; step <= 7; ++step) {
    expected.push_back("step " + std::to_string(step));
  }
  for (int step = 4; step <= 10; ++step) {
    expected.push_back("step " + std::to_string(step));
  }
  expected.push_back("end 10");
  EXPECT_EQ(notes_, expected);
  EXPECT_EQ(banner_->GetCurrentStep(), 0);
  EXPECT_FALSE(banner_->Running());
}

// An OnEnd handler that starts again runs pass after pass, each with one
// OnBegin.
TEST_F(ControlsTest, BannerRestartedFromItsEndRunsForEver) {
  on_end = [this] { banner_->Start(0); };
  Do([&] {
    banner_->SetSteps(3);
    banner_->Start(0);
  });
  desk_.RunFor(900);
  EXPECT_EQ(std::count(notes_.begin(), notes_.end(), "begin 0"), 3);
  EXPECT_EQ(std::count(notes_.begin(), notes_.end(), "end 3"), 3);
  EXPECT_TRUE(banner_->Running());
}

}  // namespace
}  // namespace hopla
