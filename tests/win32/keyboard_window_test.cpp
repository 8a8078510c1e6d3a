// Hopla's keyboard window as the system sees it: its keys are push buttons
// with their rectangles to the accessibility interface (read as the hop
// reads them, from another thread), a real click on a key reports that key
// and leaves the active window as it was, a typed key reaches the window in
// front, a move is told, and the close box closes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::CountingWindow;
using wine_test::PumpMessages;
using wine_test::WaitUntil;

constexpr int kTimeoutMs = 3000;

class Clicks : public KeyboardEvents {
 public:
  void OnKeyClicked(size_t index) override { clicked.push_back(index); }
  void OnKeyboardClosed() override { ++closed; }
  void OnKeyboardPlaced(const Rect& window) override { placed = window; }
  std::vector<size_t> clicked;
  Rect placed;
  int closed = 0;
};

void Click(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

TEST(Win32Keyboard, KeysArePushButtonsAClickReportsItsKeyAndTheFocusStays) {
  // As the program's UI thread: its window's objects live in its apartment.
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  CountingWindow focus(L"Hopla keyboard target");
  ASSERT_TRUE(wine_test::BringToFront(focus.hwnd()));
  Win32Platform platform(SwitchSourceKind::kJoystick);
  KeyboardView view;
  view.caption = "Hoplaのキーボード";
  view.columns = 2;
  view.rows = 1;
  view.keys = {{"a", {0, 0, 1, 1}, false}, {"b", {1, 0, 2, 1}, true}};
  Clicks clicks;
  platform.ShowKeyboard(view, {300, 300, 500, 380}, &clicks);
  HWND keyboard = FindWindowW(L"HoplaKeyboard", L"Hoplaのキーボード");
  ASSERT_NE(keyboard, nullptr);
  RECT client{};
  GetClientRect(keyboard, &client);
  MapWindowPoints(keyboard, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const Point size{client.right - client.left, client.bottom - client.top};
  const Rect b = KeyRect(view, view.keys[1], size);
  const Rect b_on_screen{client.left + b.left, client.top + b.top,
                         client.left + b.right, client.top + b.bottom};

  std::vector<ElementBox> elements;
  bool looked = false;
  std::thread look([&] {
    elements = platform.CreateRoleProbe()->Elements(
        {client.left, client.top, client.right, client.bottom});
    looked = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return looked; }, kTimeoutMs));
  look.join();
  std::vector<Rect> buttons;
  for (const ElementBox& e : elements) {
    if (e.role == 0x2B) buttons.push_back(e.rect);
  }
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_NE(std::find(buttons.begin(), buttons.end(), b_on_screen),
            buttons.end());

  Click({(b_on_screen.left + b_on_screen.right) / 2,
         (b_on_screen.top + b_on_screen.bottom) / 2});
  EXPECT_TRUE(WaitUntil([&] { return !clicks.clicked.empty(); }, kTimeoutMs));
  EXPECT_EQ(clicks.clicked, std::vector<size_t>{1});
  EXPECT_EQ(GetForegroundWindow(), focus.hwnd());

  platform.TypeKey('H', false);
  platform.TypeKey('H', true);
  EXPECT_TRUE(
      WaitUntil([&] { return focus.Count(WM_KEYUP) >= 1; }, kTimeoutMs));
  EXPECT_EQ(focus.Count(WM_KEYDOWN), 1);

  // Moved and sized by the carer: told where, to be kept.
  MoveWindow(keyboard, 50, 60, 300, 120, TRUE);
  SendMessageW(keyboard, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(clicks.placed, (Rect{50, 60, 350, 180}));

  SendMessageW(keyboard, WM_CLOSE, 0, 0);
  EXPECT_EQ(clicks.closed, 1);
  EXPECT_FALSE(IsWindowVisible(keyboard));
  CoUninitialize();
}

}  // namespace
}  // namespace hopla::win32
