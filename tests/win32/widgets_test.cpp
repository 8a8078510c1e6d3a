// The native peers of the controls on real windows: the settings window's
// frame and the controls' reports of what the user did, and silence for what
// code did.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "widgets_fixture.h"

namespace hopla::win32 {
namespace {

using wine_test::PumpMessages;

constexpr int kClickTimeoutMs = 2000;
constexpr size_t kTabs = 3;
constexpr int64_t kKeyGapMs = 20;

TEST_F(Win32WidgetsTest, FormHasTheSettingsWindowsFrame) {
  auto form = MakeForm();
  HWND window = Hwnd(*form);
  EXPECT_EQ(form->Text(), "「ホプラー。」");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, kClientWidth);
  EXPECT_EQ(client.bottom, kClientHeight);

  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "must not be resizable";
  const auto ex_style =
      static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  EXPECT_TRUE(ex_style & WS_EX_TOPMOST);
  EXPECT_FALSE(MakeForm(false) == nullptr);

  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2,
              1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
              1);
  EXPECT_FALSE(IsWindowVisible(window)) << "shown only when asked";
}

TEST_F(Win32WidgetsTest, CheckBoxReportsClicksButNotCodeChanges) {
  auto form = MakeForm();
  RecordingEvents events;
  auto box = MakeChild(WidgetKind::kCheckBox, form.get(), &events, "音を出す");
  box->SetChecked(true);
  box->SetChecked(false);
  EXPECT_TRUE(events.log.empty());
  SendMessageW(Hwnd(*box), BM_CLICK, 0, 0);
  SendMessageW(Hwnd(*box), BM_CLICK, 0, 0);
  EXPECT_EQ(events.log, (std::vector<std::string>{"checked", "unchecked"}));
  box->SetCaption("チェックBOX");
  EXPECT_EQ(box->Text(), "チェックBOX");
  EXPECT_EQ(events.log.size(), 2u);
}

// The toolkit clears the group itself; the system must not do it too.
TEST_F(Win32WidgetsTest, RadioButtonReportsClickAndLeavesItsGroupAlone) {
  auto form = MakeForm();
  RecordingEvents none_events, weak_events;
  auto none = MakeChild(WidgetKind::kRadioButton, form.get(), &none_events);
  auto weak = MakeChild(WidgetKind::kRadioButton, form.get(), &weak_events);
  none->SetChecked(true);
  SendMessageW(Hwnd(*weak), BM_CLICK, 0, 0);
  EXPECT_EQ(weak_events.log, std::vector<std::string>{"checked"});
  EXPECT_TRUE(none_events.log.empty());
  EXPECT_EQ(SendMessageW(Hwnd(*weak), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Hwnd(*none), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Win32WidgetsTest, TrackBarReportsUserMovesOncePerNewPosition) {
  auto form = MakeForm();
  RecordingEvents events;
  auto bar = MakeChild(WidgetKind::kTrackBar, form.get(), &events);
  bar->SetPosition(12);
  EXPECT_EQ(SendMessageW(Hwnd(*bar), TBM_GETPOS, 0, 0), 8) << "clamped";
  bar->SetPosition(5);
  EXPECT_TRUE(events.log.empty());
  // The keyboard moves the thumb as the user does: one line left.
  SendMessageW(Hwnd(*bar), WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(Hwnd(*bar), WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(events.log, std::vector<std::string>{"position 4"});
  // At the end of the range a key moves nothing and reports nothing.
  bar->SetPosition(1);
  SendMessageW(Hwnd(*bar), WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(Hwnd(*bar), WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(events.log.size(), 1u);
}

TEST_F(Win32WidgetsTest, ControlsInsideAFrameReportThroughIt) {
  auto form = MakeForm();
  RecordingEvents frame_events, button_events, label_events;
  auto frame = MakeChild(WidgetKind::kGroupBox, form.get(), &frame_events,
                         " ブレーキモード ");
  auto button =
      MakeChild(WidgetKind::kPushButton, frame.get(), &button_events, "終了");
  auto label = MakeChild(WidgetKind::kLabel, frame.get(), &label_events,
                         "「ポムラボ。」プロジェクト");
  EXPECT_EQ(GetParent(Hwnd(*button)), Hwnd(*frame));
  SendMessageW(Hwnd(*button), BM_CLICK, 0, 0);
  EXPECT_EQ(button_events.log, std::vector<std::string>{"clicked"});
  SendMessageW(Hwnd(*frame), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
               reinterpret_cast<LPARAM>(Hwnd(*label)));
  EXPECT_EQ(label_events.log, std::vector<std::string>{"clicked"});
  EXPECT_TRUE(frame_events.log.empty());
}

// The options frame of the settings window holds one check box of its own;
// the others belong to the form and only lie over the frame. A real click
// must reach both kinds, and the frame must not hide the ones lying over it.
TEST_F(Win32WidgetsTest, RealClicksReachCheckBoxesInAndOverAFrame) {
  auto form = MakeForm();
  RecordingEvents before_events, inside_events, after_events;
  // Made before the frame and after it, as the keyboard order has it.
  auto before = MakeChild(WidgetKind::kCheckBox, form.get(), &before_events,
                          "マウス移動を8方向にする");
  WidgetArgs frame_spec;
  frame_spec.kind = WidgetKind::kGroupBox;
  frame_spec.bounds = Rect{8, 8, 8 + 369, 8 + 97};
  auto frame = platform_.CreateWidget(frame_spec, form.get(), nullptr);
  WidgetArgs inside_spec;
  inside_spec.kind = WidgetKind::kCheckBox;
  inside_spec.caption = "最小化で起動する";
  inside_spec.bounds = Rect{192, 40, 192 + 129, 40 + 17};
  auto inside =
      platform_.CreateWidget(inside_spec, frame.get(), &inside_events);
  WidgetArgs after_spec = inside_spec;
  after_spec.caption = "音を出す";
  after_spec.bounds = Rect{248, 72, 248 + 81, 72 + 17};
  auto after = platform_.CreateWidget(after_spec, form.get(), &after_events);
  form->Show(false);
  SetForegroundWindow(Hwnd(*form));
  UpdateWindow(Hwnd(*form));
  PumpMessages();

  const std::pair<HWND, RecordingEvents*> targets[] = {
      {Hwnd(*before), &before_events},
      {Hwnd(*inside), &inside_events},
      {Hwnd(*after), &after_events}};
  for (const auto& [target, events] : targets) {
    RECT r{};
    GetWindowRect(target, &r);
    const POINT at{r.left + 6, (r.top + r.bottom) / 2};  // on the box itself
    // The box's white square is on screen: the frame does not paint over it.
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(seen, GetSysColor(COLOR_WINDOW)) << "hidden by the frame";
    EXPECT_EQ(WindowFromPoint(at), target);
    SetCursorPos(at.x, at.y);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    RecordingEvents* const clicked = events;
    wine_test::WaitUntil([&] { return !clicked->log.empty(); },
                         kClickTimeoutMs);
  }
  for (const auto& [target, events] : targets) {
    EXPECT_EQ(events->log, std::vector<std::string>{"checked"});
  }
}

// Frames lie below the other controls (so that controls over them show);
// Tab must still follow the order in which the controls were made, into a
// frame and out of it.
TEST_F(Win32WidgetsTest, TabFollowsTheOrderOfCreation) {
  auto form = MakeForm();
  auto first = MakeChild(WidgetKind::kCheckBox, form.get(), nullptr, "1");
  auto frame = MakeChild(WidgetKind::kGroupBox, form.get(), nullptr);
  auto inside = MakeChild(WidgetKind::kCheckBox, frame.get(), nullptr, "2");
  auto label = MakeChild(WidgetKind::kLabel, form.get(), nullptr, "no stop");
  auto last = MakeChild(WidgetKind::kPushButton, form.get(), nullptr, "3");
  EXPECT_EQ(GetWindow(Hwnd(*frame), GW_HWNDNEXT), nullptr) << "at the bottom";
  form->Show(false);
  SetForegroundWindow(Hwnd(*form));
  SetFocus(Hwnd(*first));
  std::vector<HWND> focus;
  class TabHost : public UiLoopHost {
   public:
    TabHost(Win32Platform& platform, std::vector<HWND>& focus)
        : platform_(platform), focus_(focus) {}
    int64_t RunDueWork() override {
      if (focus_.size() == kTabs) return kNoWake;  // quitting
      if (platform_.NowMs() < next_ms_) return next_ms_;
      if (next_ms_ != 0) focus_.push_back(GetFocus());
      if (focus_.size() == kTabs) {
        platform_.QuitMessageLoop();
        return kNoWake;
      }
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
      next_ms_ = platform_.NowMs() + kKeyGapMs;
      return next_ms_;
    }

   private:
    Win32Platform& platform_;
    std::vector<HWND>& focus_;
    int64_t next_ms_ = 0;
  } host(platform_, focus);
  wine_test::LoopWatchdog watchdog(kClickTimeoutMs);
  platform_.RunMessageLoop(host);
  EXPECT_EQ(focus,
            (std::vector<HWND>{Hwnd(*inside), Hwnd(*last), Hwnd(*first)}));
}

TEST_F(Win32WidgetsTest, EditTextAndHints) {
  auto form = MakeForm();
  auto edit = MakeChild(WidgetKind::kEdit, form.get(), nullptr);
  edit->SetCaption("C:\\Program Files\\JoyToKey\\");
  EXPECT_EQ(edit->Text(), "C:\\Program Files\\JoyToKey\\");

  auto box = MakeChild(WidgetKind::kCheckBox, form.get(), nullptr);
  HWND tooltip = dynamic_cast<Win32Widget&>(*box).tooltip();
  ASSERT_NE(tooltip, nullptr);
  box->SetHint(
      "ここにチェックを入れる場合は、JoyToKeyを先にインストールする"
      "必要があります。");
  box->SetHint("ボタン");  // replaces, does not add
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  box->SetHint("");
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

}  // namespace
}  // namespace hopla::win32
