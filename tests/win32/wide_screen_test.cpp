// On a screen wider than the usual 1280 x 1024 (test.sh runs this on a
// 2304 x 1024 screen; elsewhere it is skipped): the walk goes on past the
// usual right edge, turns at the real one, and the bubble stays on the
// screen beside a cursor near that edge.
#include <gtest/gtest.h>

#include "hopla_program.h"

namespace hopla::wine_test {
namespace {

constexpr int kWideScreenPx = 2304;
constexpr int kWalkTimeoutMs = 8000;
constexpr int kSpeedFast = 7;

TEST(Win32WideScreen, WalkTurnsAtTheRealEdgeAndTheBubbleStaysOnScreen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  if (width < kWideScreenPx) GTEST_SKIP() << "the screen is " << width;
  TempFolder folder;
  SetCursorPos(1400, 500);
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(kSpeedFast));
  ASSERT_NE(hopla, nullptr);
  SetCursorPos(1400, 500);
  hopla->Run("0");  // walk right
  int farthest = 0;
  bool turned = false;
  WaitUntil(
      [&] {
        POINT p{};
        GetCursorPos(&p);
        farthest = std::max<int>(farthest, p.x);
        turned = farthest > kWideScreenPx - 40 && p.x < farthest - 20;
        return turned;
      },
      kWalkTimeoutMs);
  // Seen by polling the cursor, so within a few steps of the turn.
  EXPECT_GE(farthest, kWideScreenPx - 40) << "went on past 1280";
  EXPECT_LE(farthest, kWideScreenPx - 1);
  EXPECT_TRUE(turned) << "and came back";

  hopla->Run("1");  // stop
  SetCursorPos(kWideScreenPx - 5, 500);
  hopla->Enter("11");
  HWND bubble = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        bubble = FindWindowW(L"HoplaBubble", nullptr);
        return bubble != nullptr && IsWindowVisible(bubble);
      },
      kWalkTimeoutMs));
  RECT rect{};
  GetWindowRect(bubble, &rect);
  EXPECT_LE(rect.right, width);
  EXPECT_LT(rect.right, kWideScreenPx - 5) << "left of the cursor";
  hopla->AwaitExecution();
  EXPECT_TRUE(hopla->Quit());
}

}  // namespace
}  // namespace hopla::wine_test
