// Walking with the brake over the program's own buttons makes the probe ask
// the program's own UI thread; pressing there and quitting must not hang it.
#include <gtest/gtest.h>

#include "hopla_program.h"

namespace hopla::wine_test {
namespace {

constexpr int kQuitWithinMs = 1000;
constexpr int kBoxTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;

TEST(Win32BlackBox, BrakeOverItsOwnButtonsThenPressAndQuitEndsAtOnce) {
  TempFolder folder;
  auto hopla = HoplaProgram::Start(
      folder.path(), QuickSettings(4, "[ブレーキ]\n強さ=50\nボタン=1\n"));
  ASSERT_NE(hopla, nullptr);
  // Through the row of its window buttons (最小化, HELP, 終了).
  RECT window{};
  GetWindowRect(hopla->MainWindow(), &window);
  POINT row{0, 40};
  ClientToScreen(hopla->MainWindow(), &row);
  SetCursorPos(window.left + 380, row.y);
  hopla->Run("0");
  Sleep(2000);
  hopla->Press(kLongPressMs);  // held while over a button; stops the walk
  PostMessageW(hopla->MainWindow(), WM_CLOSE, 0, 0);
  HWND question = FindMessageBox(L"警告", kBoxTimeoutMs, hopla->process().id());
  ASSERT_NE(question, nullptr);
  const ULONGLONG asked = GetTickCount64();
  PressMessageBoxButton(question, IDOK);
  ASSERT_TRUE(hopla->process().WaitForExit(kExitTimeoutMs));
  EXPECT_LT(GetTickCount64() - asked, static_cast<ULONGLONG>(kQuitWithinMs));
  EXPECT_EQ(hopla->process().ExitCode(), 0u);
}

}  // namespace
}  // namespace hopla::wine_test
