// Checks the ground the Win32 suite stands on: the tests really run in Wine,
// on a screen, in a prefix set up as scripts/wine-session.sh does it (a window
// hides without the 2 s stall of an unmanaged screen, a crash exits at once
// instead of waiting in a debugger dialog). When one of these fails, fix the
// session before reading anything into the other Win32 tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using WineGetVersion = const char*(__cdecl*)();

constexpr wchar_t kWindowClass[] = L"HoplaSmokeTestWindow";
constexpr DWORD kHideBudgetMs = 1000;
constexpr DWORD kCrashExitBudgetMs = 20000;

TEST(Win32Smoke, RunsUnderWineOnAScreen) {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  ASSERT_NE(ntdll, nullptr);
  auto wine_get_version = reinterpret_cast<WineGetVersion>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
  ASSERT_NE(wine_get_version, nullptr) << "ntdll has no wine_get_version: "
                                          "this is not Wine";
  RecordProperty("wine_version", wine_get_version());

  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
}

// Pumps what is queued for this thread, without waiting.
void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

TEST(Win32Smoke, AWindowShowsAndHidesWithoutStalling) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kWindowClass;
  ASSERT_NE(RegisterClassW(&window_class), 0);

  HWND window = CreateWindowExW(
      0, kWindowClass, L"Hopla スモーク", WS_OVERLAPPEDWINDOW, 100, 100, 320,
      200, nullptr, nullptr, window_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(window));

  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_EQ(std::wstring(title), L"Hopla スモーク");

  RECT rect = {};
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 200);

  const ULONGLONG before_ms = GetTickCount64();
  ShowWindow(window, SW_HIDE);
  ASSERT_TRUE(DestroyWindow(window));
  const ULONGLONG hide_ms = GetTickCount64() - before_ms;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_LT(hide_ms, kHideBudgetMs)
      << "hiding a window stalls: the prefix lacks "
         "HKCU\\Software\\Wine\\X11 Driver Managed=N";
  UnregisterClassW(kWindowClass, window_class.hInstance);
}

// Run only as the child of the next test.
TEST(Win32Smoke, DISABLED_CrashOnPurpose) {
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0,
                 nullptr);
}

TEST(Win32Smoke, ACrashExitsInsteadOfWaitingForADebugger) {
  wchar_t exe[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(exe) +
                         L"\" --gtest_filter=Win32Smoke.DISABLED_CrashOnPurpose"
                         L" --gtest_also_run_disabled_tests"
                         L" --gtest_catch_exceptions=0";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;  // keep the child's output quiet
  PROCESS_INFORMATION child = {};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                             0, nullptr, nullptr, &startup, &child));
  const DWORD waited = WaitForSingleObject(child.hProcess, kCrashExitBudgetMs);
  DWORD exit_code = 0;
  GetExitCodeProcess(child.hProcess, &exit_code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  ASSERT_EQ(waited, WAIT_OBJECT_0)
      << "a crash hangs: the prefix lacks AeDebug Debugger=''";
  EXPECT_NE(exit_code, 0u);
}

}  // namespace
