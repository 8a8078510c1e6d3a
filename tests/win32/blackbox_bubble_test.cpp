// The code bubble of the real program, pressed through the test switch: it
// shows while a code waits, beside the cursor and never under it, takes
// neither the focus nor the point, and is gone once the code has run.
#include <gtest/gtest.h>

#include "hopla_program.h"

namespace hopla::wine_test {
namespace {

constexpr int kAppearTimeoutMs = 2000;

HWND Bubble() { return FindWindowW(L"HoplaBubble", nullptr); }

TEST(Win32BlackBox, BubbleShowsTheWaitingCodeAndLetsEverythingThrough) {
  TempFolder folder;
  SetCursorPos(300, 300);
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(4));
  ASSERT_NE(hopla, nullptr);
  HWND foreground_before = GetForegroundWindow();
  // "11" (a double click) after the quiet time: long presses keep the
  // cursor where it is.
  hopla->Enter("11");
  ASSERT_TRUE(
      WaitUntil([] { return Bubble() != nullptr && IsWindowVisible(Bubble()); },
                kAppearTimeoutMs));
  HWND bubble = Bubble();
  DWORD owner = 0;
  GetWindowThreadProcessId(bubble, &owner);
  EXPECT_EQ(owner, hopla->process().id());
  RECT rect{};
  GetWindowRect(bubble, &rect);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_FALSE(PtInRect(&rect, cursor)) << "never under the cursor";
  EXPECT_GT(rect.right - rect.left, 20);
  const POINT centre{(rect.left + rect.right) / 2,
                     (rect.top + rect.bottom) / 2};
  EXPECT_NE(WindowFromPoint(centre), bubble) << "the point passes through";
  EXPECT_NE(GetForegroundWindow(), bubble);
  EXPECT_EQ(GetForegroundWindow(), foreground_before);

  hopla->AwaitExecution();
  EXPECT_TRUE(
      WaitUntil([&] { return !IsWindowVisible(bubble); }, kAppearTimeoutMs))
      << "gone once the code has run";
  EXPECT_TRUE(hopla->Quit());
}

}  // namespace
}  // namespace hopla::wine_test
