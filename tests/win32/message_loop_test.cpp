// The UI loop's timer host: due-time wake-ups, wake-ups from other threads,
// and service while a message box is open, as the program's timers need.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::LoopWatchdog;

constexpr int kWatchdogMs = 5000;
constexpr int64_t kWakeAfterMs = 30;
// Window timers are late by up to a tick, never meaningfully early.
constexpr int64_t kEarlyToleranceMs = 2;
constexpr int64_t kLateToleranceMs = 100;
constexpr int kCallsWhileBoxOpen = 5;
constexpr int64_t kBoxTickMs = 20;
constexpr int kBoxTimeoutMs = 3000;

// A host whose every call is answered by a function of the call's number.
class ScriptedHost : public UiLoopHost {
 public:
  explicit ScriptedHost(std::function<int64_t(int)> on_call)
      : on_call_(std::move(on_call)) {}
  int64_t RunDueWork() override { return on_call_(++calls_); }
  int calls() const { return calls_; }

 private:
  std::function<int64_t(int)> on_call_;
  int calls_ = 0;
};

// The loop may also call the host when nothing is due (after any batch of
// messages); what matters is that the due time brings a call.
TEST(Win32MessageLoop, HostIsCalledBackAtTheTimeItAsksFor) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  LoopWatchdog watchdog(kWatchdogMs);
  int64_t first = -1;
  int64_t woken = -1;
  ScriptedHost host([&](int) {
    const int64_t now = platform.NowMs();
    if (first < 0) first = now;
    if (now < first + kWakeAfterMs) return first + kWakeAfterMs;
    if (woken < 0) woken = now;
    platform.QuitMessageLoop();
    return UiLoopHost::kNoWake;
  });
  platform.RunMessageLoop(host);
  ASSERT_FALSE(watchdog.fired());
  EXPECT_GE(woken - first, kWakeAfterMs - kEarlyToleranceMs);
  EXPECT_LT(woken - first, kWakeAfterMs + kLateToleranceMs);
}

TEST(Win32MessageLoop, WakeFromAnotherThreadServesTheHost) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  LoopWatchdog watchdog(kWatchdogMs);
  std::atomic<bool> woken{false};
  bool seen = false;
  std::thread waker;
  ScriptedHost host([&](int call) {
    if (call == 1) {
      // Nothing due: only the wake-up can bring the host back.
      waker = std::thread([&] {
        platform.Sleep(kWakeAfterMs);
        woken.store(true);
        platform.WakeMessageLoop();
      });
    } else if (woken.load()) {
      seen = true;
      platform.QuitMessageLoop();
    }
    return UiLoopHost::kNoWake;
  });
  platform.RunMessageLoop(host);
  waker.join();
  EXPECT_FALSE(watchdog.fired());
  EXPECT_TRUE(seen);
}

// The program's heartbeat and its execution timer must go on while the quit
// question or a JoyToKey warning is on screen.
TEST(Win32MessageLoop, HostIsServedWhileAMessageBoxIsOpen) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  LoopWatchdog watchdog(kWatchdogMs);
  std::atomic<int> calls_in_box{0};
  bool box_open = false;
  DialogResult answer = DialogResult::kCancel;
  std::thread user;
  ScriptedHost host([&](int call) {
    if (box_open) {
      ++calls_in_box;
      return platform.NowMs() + kBoxTickMs;
    }
    if (call > 1) {
      platform.QuitMessageLoop();
      return UiLoopHost::kNoWake;
    }
    user = std::thread([&] {
      HWND box = wine_test::FindMessageBox(L"警告", kBoxTimeoutMs);
      wine_test::WaitUntil(
          [&] { return calls_in_box.load() >= kCallsWhileBoxOpen; },
          kBoxTimeoutMs);
      if (box != nullptr) wine_test::PressMessageBoxButton(box, IDOK);
    });
    MessageBoxArgs desc;
    desc.text = "｢ホプラー。」を終了しますか？";
    desc.caption = "警告";
    desc.buttons = MessageBoxButtons::kOkCancel;
    box_open = true;
    answer = platform.ShowMessageBox(desc);
    box_open = false;
    return platform.NowMs();
  });
  platform.RunMessageLoop(host);
  user.join();
  EXPECT_FALSE(watchdog.fired());
  EXPECT_GE(calls_in_box.load(), kCallsWhileBoxOpen);
  EXPECT_EQ(answer, DialogResult::kOk);
}

TEST(Win32MessageLoop, WhatTheHostThrowsComesOutOfTheLoop) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  LoopWatchdog watchdog(kWatchdogMs);
  ScriptedHost host([&](int call) -> int64_t {
    if (call == 1) return platform.NowMs() + kWakeAfterMs;
    throw std::runtime_error("handler failed");
  });
  EXPECT_THROW(platform.RunMessageLoop(host), std::runtime_error);
  EXPECT_FALSE(watchdog.fired());

  // The loop can run again afterwards.
  ScriptedHost quitter([&](int) {
    platform.QuitMessageLoop();
    return UiLoopHost::kNoWake;
  });
  platform.RunMessageLoop(quitter);
  EXPECT_EQ(quitter.calls(), 1);
}

// The box's own answer, its default button and its texts.
TEST(Win32MessageLoop, MessageBoxAnswersAndDefaultButton) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  struct Case {
    int press;
    bool default_is_second;
    DialogResult expected;
  };
  for (const Case& c : {Case{IDCANCEL, true, DialogResult::kCancel},
                        Case{IDOK, false, DialogResult::kOk}}) {
    std::wstring text;
    bool cancel_is_default = false;
    std::thread user([&] {
      HWND box = wine_test::FindMessageBox(L"警告", kBoxTimeoutMs);
      if (box == nullptr) return;
      text = wine_test::MessageBoxText(box);
      // Wine's DM_GETDEFID always says IDOK; the button's style is right.
      cancel_is_default =
          (GetWindowLongW(GetDlgItem(box, IDCANCEL), GWL_STYLE) &
           BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      wine_test::PressMessageBoxButton(box, c.press);
    });
    MessageBoxArgs desc;
    desc.text = "二重起動は出来ません。";
    desc.caption = "警告";
    desc.buttons = MessageBoxButtons::kOkCancel;
    desc.default_is_second = c.default_is_second;
    EXPECT_EQ(platform.ShowMessageBox(desc), c.expected);
    user.join();
    EXPECT_EQ(text, L"二重起動は出来ません。");
    EXPECT_EQ(cancel_is_default, c.default_is_second);
  }
}

}  // namespace
}  // namespace hopla::win32
