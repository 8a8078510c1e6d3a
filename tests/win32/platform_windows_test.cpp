// Messages to other programs' windows, window enumeration and the cursor, on
// real windows owned by other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::CountingWindow;
using wine_test::WaitUntil;

constexpr uint32_t kJoyToKeyTick = 0x83E8;
constexpr int kSendTimeoutMs = 300;
constexpr int kFreezeMs = 1500;
// A send must give up near its timeout, not when the receiver wakes.
constexpr int64_t kGiveUpSlackMs = 400;
constexpr int kDeliveryTimeoutMs = 2000;

WindowHandle HandleOf(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

TEST(Win32PlatformWindows, SendAndPostReachAWindowOfAnotherThread) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow peer(L"JoyToKey Ver5");
  ASSERT_NE(peer.hwnd(), nullptr);
  EXPECT_TRUE(platform.SendToWindow(HandleOf(peer.hwnd()), kJoyToKeyTick, 0, 0,
                                    kSendTimeoutMs));
  EXPECT_EQ(peer.Count(kJoyToKeyTick), 1);
  EXPECT_TRUE(
      platform.PostToWindow(HandleOf(peer.hwnd()), kJoyToKeyTick, 0, 0));
  EXPECT_TRUE(WaitUntil([&] { return peer.Count(kJoyToKeyTick) == 2; },
                        kDeliveryTimeoutMs));
}

// A hung JoyToKey must not freeze the heartbeat that messages it.
TEST(Win32PlatformWindows, SendToABusyWindowGivesUpAtItsTimeout) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow peer(L"JoyToKey busy");
  peer.Freeze(kFreezeMs);
  const int64_t before = platform.NowMs();
  EXPECT_FALSE(platform.SendToWindow(HandleOf(peer.hwnd()), kJoyToKeyTick, 0, 0,
                                     kSendTimeoutMs));
  const int64_t waited = platform.NowMs() - before;
  EXPECT_LT(waited, kSendTimeoutMs + kGiveUpSlackMs);
}

// While it waits for a busy window's answer, the sender answers what another
// thread sends to a window of its own (a shut-down query, a close, the
// prober's question): it is not deaf for the whole wait.
TEST(Win32PlatformWindows, SenderAnswersWhatIsSentToItWhileItWaits) {
  constexpr int kAskAfterMs = 200;
  constexpr int kAskTimeoutMs = 800;
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow busy(L"JoyToKey busy");
  HWND own = CreateWindowExW(0, L"STATIC", L"own", 0, 0, 0, 10, 10, nullptr,
                             nullptr, nullptr, nullptr);
  ASSERT_NE(own, nullptr);
  busy.Freeze(kFreezeMs);
  const int64_t before = platform.NowMs();
  std::atomic<int64_t> answered_after{-1};
  std::thread asker([&] {
    Sleep(kAskAfterMs);
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(own, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                            kAskTimeoutMs, &length) != 0) {
      answered_after = platform.NowMs() - before;
    }
  });
  platform.SendToWindow(HandleOf(busy.hwnd()), kJoyToKeyTick, 0, 0,
                        kDeliveryTimeoutMs / 2);
  asker.join();
  DestroyWindow(own);
  EXPECT_GE(answered_after.load(), kAskAfterMs) << "not answered at all";
  EXPECT_LT(answered_after.load(), kAskAfterMs + kGiveUpSlackMs);
}

TEST(Win32PlatformWindows, MessagesToNoWindowGoNowhere) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  EXPECT_FALSE(
      platform.SendToWindow(kNoWindow, kJoyToKeyTick, 0, 0, kSendTimeoutMs));
  // Posting WM_QUIT "to nobody" must not post it to our own thread.
  EXPECT_FALSE(platform.PostToWindow(kNoWindow, kWmQuit, 0, 0));
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(platform.WindowTitle(kNoWindow), "");
  EXPECT_FALSE(platform.WindowRect(kNoWindow).has_value());
  EXPECT_FALSE(platform.SetForegroundWindow(kNoWindow));
}

TEST(Win32PlatformWindows, EnumerationSeesJapaneseTitlesAsUtf8) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow peer(L"ムニパッド のプロパティ");
  const std::string title = "ムニパッド のプロパティ";
  int matches = 0;
  platform.EnumTopLevelWindows([&](const WindowInfo& info) {
    if (info.handle == HandleOf(peer.hwnd())) {
      EXPECT_EQ(info.title, title);
      ++matches;
    }
    return true;
  });
  EXPECT_EQ(matches, 1);
  EXPECT_EQ(platform.WindowTitle(HandleOf(peer.hwnd())), title);

  int visited = 0;
  platform.EnumTopLevelWindows([&](const WindowInfo&) {
    ++visited;
    return false;
  });
  EXPECT_EQ(visited, 1) << "returning false stops the enumeration";

  EXPECT_THROW(platform.EnumTopLevelWindows([](const WindowInfo&) -> bool {
    throw std::runtime_error("visitor failed");
  }),
               std::runtime_error);
}

TEST(Win32PlatformWindows, RectanglesShowAndCursor) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow peer(L"Logitech E/M Executive");
  RECT expected{};
  GetWindowRect(peer.hwnd(), &expected);
  const std::optional<Rect> rect = platform.WindowRect(HandleOf(peer.hwnd()));
  ASSERT_TRUE(rect.has_value());
  EXPECT_EQ(*rect, (Rect{expected.left, expected.top, expected.right,
                         expected.bottom}));

  const Rect desktop = platform.DesktopRect();
  EXPECT_EQ(desktop.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(desktop.Height(), GetSystemMetrics(SM_CYSCREEN));

  EXPECT_FALSE(IsWindowVisible(peer.hwnd()));
  platform.ShowWindowNormal(HandleOf(peer.hwnd()));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(peer.hwnd()) != FALSE; },
                        kDeliveryTimeoutMs));

  platform.SetCursorPos(Point{123, 234});
  EXPECT_EQ(platform.CursorPos(), (Point{123, 234}));
}

}  // namespace
}  // namespace hopla::win32
