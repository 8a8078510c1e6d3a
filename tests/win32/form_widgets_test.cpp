// The native peer of a form on a real window: its close and the session's
// end asked of the toolkit, its system menu's items, check marks and hot
// key, its show, minimise, restore and maximise, and the application's
// window that owns it.
#include <memory>
#include <string>
#include <vector>

#include "widgets_fixture.h"

namespace hopla::win32 {
namespace {

using wine_test::PumpMessages;

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
