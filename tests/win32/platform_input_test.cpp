// What the program sends into the system, seen by low-level hooks (the exact
// fields of every mouse and key event), the accessibility probe over a window
// of another program, a window's normal rectangle, and the UI thread's sleep
// that still answers what other threads send.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "hopla_program.h"
#include "platform/win32/win32_platform.h"

namespace hopla::win32 {
namespace {

using wine_test::CountingWindow;
using wine_test::InputLogger;
using wine_test::PumpMessages;
using wine_test::WaitUntil;

constexpr int kDeliveryTimeoutMs = 2000;

// What the low-level hooks of this thread saw, in order.
struct Seen {
  std::vector<KBDLLHOOKSTRUCT> keys;
  std::vector<std::pair<WPARAM, MSLLHOOKSTRUCT>> mouse;
};
Seen* g_seen = nullptr;  // the hooks' only way to their test

LRESULT CALLBACK KeyHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && g_seen != nullptr) {
    g_seen->keys.push_back(*reinterpret_cast<KBDLLHOOKSTRUCT*>(lparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && g_seen != nullptr && wparam != WM_MOUSEMOVE) {
    g_seen->mouse.emplace_back(wparam,
                               *reinterpret_cast<MSLLHOOKSTRUCT*>(lparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Keys: the virtual key, scan code 0x45, the extended flag down and the
// up flag up, no extra information. Mouse buttons: absolute, where the
// cursor stands, no extra information.
TEST(Win32PlatformInput, EventsCarryExactlyTheirFields) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  Seen seen;
  g_seen = &seen;
  HINSTANCE self = GetModuleHandleW(nullptr);
  HHOOK keys = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyHook, self, 0);
  HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, self, 0);
  ASSERT_NE(keys, nullptr);
  ASSERT_NE(mouse, nullptr);
  SetCursorPos(30, 40);
  platform.KeyEvent(kVkShift, false);
  platform.KeyEvent(kVkShift, true);
  platform.MouseButton(kMouseRightDown, {30, 40});
  platform.MouseButton(kMouseRightUp, {30, 40});
  WaitUntil([&] { return seen.keys.size() + seen.mouse.size() >= 4; },
            kDeliveryTimeoutMs);
  UnhookWindowsHookEx(keys);
  UnhookWindowsHookEx(mouse);
  g_seen = nullptr;

  ASSERT_EQ(seen.keys.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(seen.keys[i].vkCode, kVkShift);
    EXPECT_EQ(seen.keys[i].scanCode, 0x45u);
    EXPECT_EQ(seen.keys[i].dwExtraInfo, 0u);
    EXPECT_NE(seen.keys[i].flags & LLKHF_INJECTED, 0u);
  }
  EXPECT_EQ(seen.keys[0].flags & (LLKHF_EXTENDED | LLKHF_UP),
            static_cast<DWORD>(LLKHF_EXTENDED));
  EXPECT_EQ(seen.keys[1].flags & LLKHF_UP, static_cast<DWORD>(LLKHF_UP));
  ASSERT_EQ(seen.mouse.size(), 2u);
  EXPECT_EQ(seen.mouse[0].first, static_cast<WPARAM>(WM_RBUTTONDOWN));
  EXPECT_EQ(seen.mouse[1].first, static_cast<WPARAM>(WM_RBUTTONUP));
  for (const auto& [message, event] : seen.mouse) {
    EXPECT_EQ(event.pt.x, 30);
    EXPECT_EQ(event.pt.y, 40);
    EXPECT_EQ(event.dwExtraInfo, 0u);
  }
}

// Over another program's custom control the probe reads the role it
// reports: a push button inside its button, a plain client area elsewhere;
// the list of elements has the button where it stands.
TEST(Win32PlatformInput, ProbeReadsTheRolesOfAnotherProgramsWindow) {
  auto logger =
      InputLogger::Start(RECT{40, 40, 440, 240}, RECT{200, 100, 300, 160});
  ASSERT_NE(logger, nullptr);
  Win32Platform platform(SwitchSourceKind::kJoystick);
  std::unique_ptr<RoleProbe> probe = platform.CreateRoleProbe();
  const RoleReading button = probe->RoleAt({250, 130});
  EXPECT_EQ(button.kind, RoleReading::Kind::kNumber);
  EXPECT_EQ(button.role, 0x2B);
  const RoleReading plain = probe->RoleAt({60, 60});
  EXPECT_EQ(plain.kind, RoleReading::Kind::kNumber);
  EXPECT_EQ(plain.role, 0x0A);
  EXPECT_FALSE(logger->LinesOf("getobject").empty());
  const std::vector<ElementBox> elements = probe->Elements({0, 0, 300, 400});
  const auto button_box =
      std::find_if(elements.begin(), elements.end(),
                   [](const ElementBox& e) { return e.role == 0x2B; });
  ASSERT_NE(button_box, elements.end());
  EXPECT_EQ(button_box->rect, (Rect{200, 100, 300, 160}));
  for (const ElementBox& e : probe->Elements({0, 0, 150, 400})) {
    EXPECT_NE(e.role, 0x2B) << "the button lies outside the area asked about";
  }
}

// A minimised or maximised window still tells where it stands normally.
TEST(Win32PlatformInput, NormalRectangleOfAMinimisedOrMaximisedWindow) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow window(L"normal place");
  HWND hwnd = window.hwnd();
  SetWindowPos(hwnd, nullptr, 100, 120, 300, 200,
               SWP_NOZORDER | SWP_SHOWWINDOW);
  const auto handle = reinterpret_cast<WindowHandle>(hwnd);
  const Rect normal{100, 120, 400, 320};
  EXPECT_EQ(platform.NormalWindowRect(handle), normal);
  ShowWindow(hwnd, SW_MINIMIZE);
  WaitUntil([&] { return IsIconic(hwnd) != FALSE; }, kDeliveryTimeoutMs);
  EXPECT_NE(platform.WindowRect(handle), normal);
  EXPECT_EQ(platform.NormalWindowRect(handle), normal);
  ShowWindow(hwnd, SW_MAXIMIZE);
  WaitUntil([&] { return IsZoomed(hwnd) != FALSE; }, kDeliveryTimeoutMs);
  EXPECT_EQ(platform.NormalWindowRect(handle), normal);
  EXPECT_EQ(platform.NormalWindowRect(kNoWindow), std::nullopt);
}

// Sleeping on the UI thread, it still answers a send from another thread
// (the brake's query to its own window), but runs nothing posted.
TEST(Win32PlatformInput, SleepAnsweringServesSendsOnly) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  HWND here = CreateWindowExW(0, L"STATIC", L"here", WS_POPUP, 0, 0, 10, 10,
                              nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(here, nullptr);
  PostMessageW(here, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"posted"));
  LRESULT answered = -1;
  std::thread sender(
      [&] { answered = SendMessageW(here, WM_GETTEXTLENGTH, 0, 0); });
  const int64_t start = platform.NowMs();
  platform.SleepAnswering(300);
  const int64_t slept = platform.NowMs() - start;
  sender.join();
  EXPECT_EQ(answered, 4);  // "here": the posted text was not handled
  EXPECT_GE(slept, 290);
  PumpMessages();
  DestroyWindow(here);
}

// A key chosen as the switch: another program's presses of it are measured
// and reach no window, a tap between two polls still reads once, Hopla's own
// presses of it pass and are no press, a pause lets it through while it is
// still read, and choosing the joystick again gives the key back.
TEST(Win32PlatformInput, KeySwitchIsTakenFromEveryWindowButHoplasOwnKeys) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow focus(L"Hopla key switch target");
  SetForegroundWindow(focus.hwnd());
  auto send = [](bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_F13;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
  };
  auto down = [&] { return platform.PollSwitch().buttons == 1u; };
  SwitchChoice key;
  key.kind = SwitchKind::kKey;
  key.key = VK_F13;
  platform.UseSwitch(key);

  send(false);
  EXPECT_TRUE(WaitUntil(down, kDeliveryTimeoutMs));
  send(true);
  EXPECT_TRUE(WaitUntil([&] { return !down(); }, kDeliveryTimeoutMs));
  send(false);
  send(true);
  Sleep(200);
  EXPECT_TRUE(down()) << "a tap between two polls";
  EXPECT_FALSE(down()) << "read once";
  platform.KeyEvent(VK_F13, false);
  platform.KeyEvent(VK_F13, true);
  EXPECT_TRUE(WaitUntil([&] { return focus.Count(WM_KEYDOWN) >= 1; },
                        kDeliveryTimeoutMs));
  EXPECT_FALSE(down()) << "Hopla's own key is no press";
  EXPECT_EQ(focus.Count(WM_KEYDOWN), 1) << "only Hopla's own key arrived";

  // Let through (a carer's pause): read and delivered; taken again: read.
  platform.LetSwitchThrough(true);
  send(false);
  EXPECT_TRUE(WaitUntil(down, kDeliveryTimeoutMs));
  EXPECT_TRUE(WaitUntil([&] { return focus.Count(WM_KEYDOWN) >= 2; },
                        kDeliveryTimeoutMs));
  send(true);
  EXPECT_TRUE(WaitUntil([&] { return !down(); }, kDeliveryTimeoutMs));
  platform.LetSwitchThrough(false);
  send(false);
  EXPECT_TRUE(WaitUntil(down, kDeliveryTimeoutMs));
  send(true);
  EXPECT_TRUE(WaitUntil([&] { return !down(); }, kDeliveryTimeoutMs));
  EXPECT_EQ(focus.Count(WM_KEYDOWN), 2) << "taken again after the pause";

  platform.UseSwitch(SwitchChoice{});
  send(false);
  send(true);
  EXPECT_TRUE(WaitUntil([&] { return focus.Count(WM_KEYDOWN) >= 3; },
                        kDeliveryTimeoutMs));
}

}  // namespace
}  // namespace hopla::win32
