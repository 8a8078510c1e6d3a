// A stand-in for JoyToKey in another process: a top-level window whose title
// begins with "JoyToKey ", counting the messages it receives into a named
// shared counter that the test reads. Told to hang, it stops pumping.
#include <windows.h>

#include <cstdint>

namespace {

constexpr wchar_t kClass[] = L"HoplaFakeJoyToKey";
constexpr wchar_t kTitle[] = L"JoyToKey test peer";
constexpr wchar_t kCounterName[] = L"Local\\HoplaFakeJoyToKeyCounter";
// A message the test sends to make the peer hang for kHangMs.
constexpr UINT kHangMessage = WM_APP + 1;
constexpr DWORD kHangMs = 15000;
constexpr UINT kHeartbeat = 33768;
// The peer ends by itself, so that a failed test cannot leave it behind.
constexpr UINT_PTR kLifeTimer = 1;
constexpr UINT kLifeMs = 120000;

struct Peer {
  volatile LONG* heartbeats = nullptr;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  auto* peer =
      reinterpret_cast<Peer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == kHeartbeat && peer != nullptr) {
    InterlockedIncrement(peer->heartbeats);
    return 0;
  }
  if (message == kHangMessage) {
    Sleep(kHangMs);
    return 0;
  }
  if (message == WM_TIMER || message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int main() {
  HANDLE mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                         sizeof(LONG), kCounterName);
  if (mapping == nullptr) return 1;
  Peer peer;
  peer.heartbeats = static_cast<volatile LONG*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG)));
  if (peer.heartbeats == nullptr) return 1;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  HWND window =
      CreateWindowExW(0, kClass, kTitle, WS_OVERLAPPEDWINDOW, 20, 20, 200, 100,
                      nullptr, nullptr, wc.hInstance, nullptr);
  if (window == nullptr) return 1;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&peer));
  SetTimer(window, kLifeTimer, kLifeMs, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnmapViewOfFile(const_cast<LONG*>(peer.heartbeats));
  CloseHandle(mapping);
  return 0;
}
