// The floor of the banner bench: a Win32 program that does nothing but run
// one 50 ms window timer, as Hopla's heartbeat does, for the seconds given
// as its argument (default 60), then ends.
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 50;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam,
                           LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  const int seconds =
      arguments != nullptr && *arguments != L'\0'
          ? static_cast<int>(std::wcstol(arguments, nullptr, 10))
          : 60;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"HoplaBareTimer";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"bare timer", 0, 0, 0, 0,
                                0, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 2;
  SetTimer(window, kTimerId, kTimerMs, nullptr);
  const ULONGLONG end =
      GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  MSG msg;
  while (GetTickCount64() < end && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    DispatchMessageW(&msg);
  }
  return 0;
}
