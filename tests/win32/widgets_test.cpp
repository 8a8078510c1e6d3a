// The native peers on real windows: the settings window's frame and the
// controls' reports of what the user did, and silence for what code did.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/widget_base.h"
#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::PumpMessages;

constexpr int kClientWidth = 607;
constexpr uint32_t kMenuCommand = 0x0110;  // an item of our own
constexpr int kClientHeight = 428;
constexpr int kClickTimeoutMs = 2000;
constexpr size_t kTabs = 3;
constexpr int64_t kKeyGapMs = 20;

// Records every call as one line, in order.
class RecordingEvents : public WidgetEvents {
 public:
  void OnUserChecked(bool checked) override {
    log.push_back(checked ? "checked" : "unchecked");
  }
  void OnUserClicked() override { log.push_back("clicked"); }
  void OnUserPosition(int32_t position) override {
    log.push_back("position " + std::to_string(position));
  }
  void OnCloseRequest() override { log.push_back("close"); }
  void OnSysCommand(uint32_t command) override {
    log.push_back("syscommand " + std::to_string(command));
  }
  bool OnQueryEndSession() override {
    log.push_back("query end");
    return may_end;
  }
  void OnGetMinMaxInfo(MinMaxInfo& info) override {
    if (pin_to) {
      info.max_size = Point{pin_to->Width(), pin_to->Height()};
      info.max_position = Point{pin_to->left, pin_to->top};
    }
  }
  void OnHotKey(int32_t id) override {
    log.push_back("hotkey " + std::to_string(id));
  }
  void OnShown() override { log.push_back("shown"); }
  void OnRestored() override { log.push_back("restored"); }

  std::vector<std::string> log;
  bool may_end = true;
  std::optional<Rect> pin_to;
};

class Win32WidgetsTest : public ::testing::Test {
 protected:
  std::unique_ptr<NativeWidget> MakeForm(bool topmost = true) {
    WidgetArgs desc;
    desc.kind = WidgetKind::kForm;
    desc.caption = "「ホプラー。」";
    desc.bounds = Rect{0, 0, kClientWidth, kClientHeight};
    desc.topmost = topmost;
    desc.system_menu = {{kMenuCommand, "拡張設定..."}};
    return platform_.CreateWidget(desc, nullptr, &form_events_);
  }
  std::unique_ptr<NativeWidget> MakeChild(WidgetKind kind, NativeWidget* parent,
                                          WidgetEvents* events,
                                          const std::string& caption = "") {
    WidgetArgs desc;
    desc.kind = kind;
    desc.caption = caption;
    desc.bounds = Rect{16, 24, 16 + 161, 24 + 17};
    desc.min = 1;
    desc.max = 8;
    desc.position = 1;
    return platform_.CreateWidget(desc, parent, events);
  }
  static HWND Hwnd(const NativeWidget& widget) {
    return reinterpret_cast<HWND>(widget.Handle());
  }

  Win32Platform platform_{SwitchSourceKind::kJoystick};
  RecordingEvents form_events_;
};

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

TEST_F(Win32WidgetsTest, FormAsksTheToolkitBeforeClosingOrEndingTheSession) {
  auto form = MakeForm();
  HWND window = Hwnd(*form);
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(form_events_.log,
            (std::vector<std::string>{"syscommand " + std::to_string(kScClose),
                                      "close"}));
  // The system menu's own item reaches the toolkit as its command.
  wchar_t item[64] = {};
  GetMenuStringW(GetSystemMenu(window, FALSE), kMenuCommand, item, 64,
                 MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(item), L"拡張設定...");
  form_events_.log.clear();
  SendMessageW(window, WM_SYSCOMMAND, kMenuCommand, 0);
  EXPECT_EQ(
      form_events_.log,
      std::vector<std::string>{"syscommand " + std::to_string(kMenuCommand)});
  EXPECT_TRUE(IsWindow(window)) << "closing is the toolkit's decision";
  form->SetMenuItemChecked(kMenuCommand, true);
  EXPECT_NE(
      GetMenuState(GetSystemMenu(window, FALSE), kMenuCommand, MF_BYCOMMAND) &
          MF_CHECKED,
      0u);

  // A hot key pressed anywhere reaches the toolkit, once per press.
  form_events_.log.clear();
  ASSERT_TRUE(form->RegisterHotKey(7, kModControl | kModAlt, VK_F14));
  auto key = [](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
  };
  for (WORD vk : {VK_CONTROL, VK_MENU, VK_F14}) key(vk, false);
  for (WORD vk : {VK_F14, VK_MENU, VK_CONTROL}) key(vk, true);
  EXPECT_TRUE(wine_test::WaitUntil(
      [&] {
        wine_test::PumpMessages();
        return !form_events_.log.empty();
      },
      2000));
  EXPECT_EQ(form_events_.log, std::vector<std::string>{"hotkey 7"});

  form_events_.log.clear();
  form_events_.may_end = false;
  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), FALSE);
  form_events_.may_end = true;
  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);

  form->Destroy();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Win32WidgetsTest, ShowMinimiseRestoreTellTheToolkit) {
  auto form = MakeForm();
  form->Show(true);
  PumpMessages();
  EXPECT_TRUE(IsIconic(Hwnd(*form)));
  EXPECT_TRUE(form_events_.log.empty()) << "shown minimised is not shown";
  form->Restore();
  PumpMessages();
  EXPECT_EQ(form_events_.log, (std::vector<std::string>{"shown", "restored"}));
  form_events_.log.clear();
  form->Minimize();
  form->Restore();
  form->Minimize();
  SendMessageW(Hwnd(*form), WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpMessages();
  EXPECT_EQ(form_events_.log,
            (std::vector<std::string>{
                "shown", "restored", "syscommand " + std::to_string(kScRestore),
                "shown", "restored"}));
}

// A maximise aimed at the settings window leaves it where it is.
TEST_F(Win32WidgetsTest, MinMaxInfoFromTheToolkitHoldsTheWindowOnMaximise) {
  auto form = MakeForm();
  form->Show(false);
  RECT before{};
  GetWindowRect(Hwnd(*form), &before);
  form_events_.pin_to =
      Rect{before.left, before.top, before.right, before.bottom};
  ShowWindow(Hwnd(*form), SW_MAXIMIZE);
  PumpMessages();
  RECT after{};
  GetWindowRect(Hwnd(*form), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

// The application's window carries the taskbar button with the program's
// title and owns the form: minimising the form takes the whole program to
// the taskbar; a restore there shows the form again, then tells the
// application; a maximise of the minimised program brings it back.
TEST_F(Win32WidgetsTest, ApplicationWindowOwnsTheFormAndStandsForTheProgram) {
  RecordingEvents app_events;
  WidgetArgs app_desc;
  app_desc.kind = WidgetKind::kApplication;
  app_desc.caption = "「ホプラー。」Ver2.10";
  auto app = platform_.CreateWidget(app_desc, nullptr, &app_events);
  WidgetArgs form_desc;
  form_desc.kind = WidgetKind::kForm;
  form_desc.caption = "「ホプラー。」";
  form_desc.bounds = Rect{0, 0, kClientWidth, kClientHeight};
  auto form = platform_.CreateWidget(form_desc, app.get(), &form_events_);
  HWND app_window = Hwnd(*app);
  HWND form_window = Hwnd(*form);
  EXPECT_EQ(GetWindow(form_window, GW_OWNER), app_window);
  EXPECT_EQ(GetWindow(app_window, GW_OWNER), nullptr);
  EXPECT_EQ(app->Text(), "「ホプラー。」Ver2.10");
  EXPECT_FALSE(GetWindowLongPtrW(app_window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  app->Show(false);
  form->Show(false);
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(app_window));
  form_events_.log.clear();
  SendMessageW(form_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpMessages();
  EXPECT_TRUE(app->IsMinimized());
  EXPECT_FALSE(IsWindowVisible(form_window));
  EXPECT_FALSE(form->IsMinimized()) << "the form itself is only hidden";
  SendMessageW(app_window, WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpMessages();
  EXPECT_FALSE(app->IsMinimized());
  EXPECT_TRUE(IsWindowVisible(form_window));
  EXPECT_EQ(form_events_.log,
            (std::vector<std::string>{
                "syscommand " + std::to_string(kScMinimize), "shown"}));
  EXPECT_EQ(app_events.log, std::vector<std::string>{"restored"});

  form->Minimize();
  SendMessageW(app_window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  PumpMessages();
  EXPECT_FALSE(app->IsMinimized());
  EXPECT_FALSE(IsZoomed(app_window));
  EXPECT_TRUE(IsWindowVisible(form_window));
  SendMessageW(app_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_events.log.back(), "close");
  EXPECT_TRUE(IsWindow(app_window)) << "closing is the toolkit's decision";
}

// A box owned by the application's window keeps every window of the program
// disabled while it is open, so a click meant for it cannot reach the form;
// it opens in front of the always-on-top form.
TEST_F(Win32WidgetsTest, BoxOfTheApplicationDisablesAllItsWindows) {
  WidgetArgs app_desc;
  app_desc.kind = WidgetKind::kApplication;
  auto app = platform_.CreateWidget(app_desc, nullptr, nullptr);
  auto form = platform_.CreateWidget(
      [] {
        WidgetArgs desc;
        desc.kind = WidgetKind::kForm;
        desc.topmost = true;
        desc.bounds = Rect{0, 0, kClientWidth, kClientHeight};
        return desc;
      }(),
      app.get(), nullptr);
  app->Show(false);
  form->Show(false);
  HWND form_window = Hwnd(*form);
  bool form_enabled_inside = true;
  bool box_topmost = false;
  std::thread person([&] {
    HWND box = wine_test::FindMessageBox(L"警告", 10000);
    if (box == nullptr) return;
    form_enabled_inside = IsWindowEnabled(form_window) != FALSE;
    // In front of the form: what lies at the box's centre is the box.
    RECT r{};
    GetWindowRect(box, &r);
    HWND at = WindowFromPoint(POINT{(r.left + r.right) / 2, r.top + 5});
    box_topmost = GetAncestor(at, GA_ROOT) == box;

    wine_test::PressMessageBoxButton(box, IDOK);
  });
  MessageBoxArgs box;
  box.owner = app->Handle();
  box.caption = "警告";
  box.text = "｢ホプラー。」を終了しますか？";
  box.buttons = MessageBoxButtons::kOkCancel;
  EXPECT_EQ(platform_.ShowMessageBox(box), DialogResult::kOk);
  person.join();
  EXPECT_FALSE(form_enabled_inside);
  EXPECT_TRUE(box_topmost);
  EXPECT_TRUE(IsWindowEnabled(form_window));
}

// Started minimised, only the taskbar button shows until a restore.
TEST_F(Win32WidgetsTest, ProgramStartedMinimisedShowsItsFormOnRestore) {
  RecordingEvents app_events;
  WidgetArgs app_desc;
  app_desc.kind = WidgetKind::kApplication;
  auto app = platform_.CreateWidget(app_desc, nullptr, &app_events);
  auto form = platform_.CreateWidget(
      [] {
        WidgetArgs desc;
        desc.kind = WidgetKind::kForm;
        desc.bounds = Rect{0, 0, kClientWidth, kClientHeight};
        return desc;
      }(),
      app.get(), &form_events_);
  app->Show(true);
  form->Show(true);
  PumpMessages();
  EXPECT_TRUE(app->IsMinimized());
  EXPECT_FALSE(IsWindowVisible(Hwnd(*form)));
  EXPECT_TRUE(form_events_.log.empty());
  app->Restore();
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(Hwnd(*form)));
  EXPECT_EQ(form_events_.log, std::vector<std::string>{"shown"});
  EXPECT_EQ(app_events.log, std::vector<std::string>{"restored"});
}

}  // namespace
}  // namespace hopla::win32
