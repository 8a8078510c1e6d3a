// The real programs started as a user starts them, each in a folder of its
// own (the settings file lives in the working folder).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "wine_helpers.h"

namespace hopla::wine_test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kBoxTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;
constexpr wchar_t kMainWindowTitle[] = L"「ホプラー。」";

std::wstring ProgramPath(const wchar_t* exe) {
  return ToWide(HOPLA_EXE_DIR) + L"/" + exe;
}

// Ends a running copy the way a user does: close, then OK at the question.
void QuitThroughTheQuestion(ChildProcess& copy, HWND main_window) {
  PostMessageW(main_window, WM_CLOSE, 0, 0);
  HWND question = FindMessageBox(L"警告", kBoxTimeoutMs, copy.id());
  ASSERT_NE(question, nullptr) << "closing asks first";
  EXPECT_EQ(MessageBoxText(question), L"｢ホプラー。」を終了しますか？");
  PressMessageBoxButton(question, IDOK);
  ASSERT_TRUE(copy.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(copy.ExitCode(), 0u);
}

TEST(Win32Program, SecondCopyIsRefusedAndTheFirstRunsOn) {
  TempFolder folder;
  auto first =
      ChildProcess::Start(ProgramPath(L"Hopla.exe"), L"", folder.path());
  ASSERT_NE(first, nullptr);
  HWND main_window =
      FindVisibleWindow(L"", kMainWindowTitle, kStartTimeoutMs, first->id());
  ASSERT_NE(main_window, nullptr);

  auto second =
      ChildProcess::Start(ProgramPath(L"Hopla.exe"), L"", folder.path());
  ASSERT_NE(second, nullptr);
  HWND refusal = FindMessageBox(L"Hopla", kBoxTimeoutMs, second->id());
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(MessageBoxText(refusal),
            L"二重起動は出来ません。[ホプラー。」 はすでに実行されています！");
  PressMessageBoxButton(refusal, IDOK);
  ASSERT_TRUE(second->WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(second->ExitCode(), 0u);
  EXPECT_EQ(FindVisibleWindow(L"", kMainWindowTitle, 0, second->id()), nullptr);

  EXPECT_TRUE(IsWindow(main_window)) << "the first copy runs on";
  QuitThroughTheQuestion(*first, main_window);
}

// The test switch program is another file name: it runs beside Hopla.exe.
TEST(Win32Program, ACopyUnderAnotherFileNameRunsBesideIt) {
  TempFolder folder_a;
  TempFolder folder_b;
  auto hopla =
      ChildProcess::Start(ProgramPath(L"Hopla.exe"), L"", folder_a.path());
  ASSERT_NE(hopla, nullptr);
  auto testswitch = ChildProcess::Start(ProgramPath(L"Hopla-testswitch.exe"),
                                        L"", folder_b.path());
  ASSERT_NE(testswitch, nullptr);
  HWND a =
      FindVisibleWindow(L"", kMainWindowTitle, kStartTimeoutMs, hopla->id());
  HWND b = FindVisibleWindow(L"", kMainWindowTitle, kStartTimeoutMs,
                             testswitch->id());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  QuitThroughTheQuestion(*hopla, a);
  QuitThroughTheQuestion(*testswitch, b);
}

}  // namespace
}  // namespace hopla::wine_test
