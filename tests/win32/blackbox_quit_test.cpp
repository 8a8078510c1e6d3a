// Quitting at the edges: walking with the brake over the program's own
// buttons makes the probe ask the program's own UI thread, and pressing
// there and quitting must not hang it; a close while JoyToKey is started at
// start-up ends the program and keeps the settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

struct WindowOf {
  DWORD process_id;
  HWND found = nullptr;
};

BOOL CALLBACK VisitForMainWindow(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowOf*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[32] = {};
  GetWindowTextW(window, title, 32);
  if (owner == search->process_id && std::wstring(title) == L"「ホプラー。」") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// JoyToKey's use stored with a folder whose JoyToKey never opens a window
// (a program that ends at once): while the start waits for it, before the
// window shows, a close answered OK ends the program within the start's
// bound, and the file keeps every value it held.
TEST(Win32BlackBox, CloseWhileJoyToKeyStartsAtStartUpKeepsTheFile) {
  TempFolder folder;
  TempFolder joytokey;
  ASSERT_TRUE(CopyFileW(ProgramPath(L"hopla-press.exe").c_str(),
                        (joytokey.path() + L"\\JoyToKey.exe").c_str(), FALSE));
  const std::string stored = QuickSettings(
      4, "[UseJoyToKey]\nJoyToKeyの利用=1\n所在フォルダー=" +
             ToUtf8(joytokey.path()) + "\\\n[ブレーキ]\n強さ=100\nボタン=1\n");
  std::ofstream(std::filesystem::path(folder.path() + L"\\Hoplar.ini"),
                std::ios::binary)
      << SettingsFileBytes(stored);
  auto hopla = ChildProcess::Start(ProgramPath(L"Hopla-testswitch.exe"), L"",
                                   folder.path());
  ASSERT_NE(hopla, nullptr);
  WindowOf window{hopla->id()};
  ASSERT_TRUE(WaitUntil(
      [&] {
        EnumWindows(&VisitForMainWindow, reinterpret_cast<LPARAM>(&window));
        return window.found != nullptr;
      },
      kBoxTimeoutMs));
  Sleep(1000);  // the start waits up to 5 s for JoyToKey's window
  PostMessageW(window.found, WM_CLOSE, 0, 0);
  HWND question = FindMessageBox(L"警告", kBoxTimeoutMs, hopla->id());
  ASSERT_NE(question, nullptr);
  PressMessageBoxButton(question, IDOK);
  ASSERT_TRUE(hopla->WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(hopla->ExitCode(), 0u);
  const std::string text = ReadSettingsFile(folder.path());
  for (const char* line : {"マウス移動速度=4", "長押し判定時間=3", "強さ=100",
                           "ボタン=1", "JoyToKeyの利用=1"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
}

}  // namespace
}  // namespace hopla::wine_test
