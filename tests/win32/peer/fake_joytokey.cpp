// A stand-in for JoyToKey in another process: a top-level window whose title
// begins with "JoyToKey ". It counts the heartbeats it receives into a named
// shared counter, and logs every private message it gets, with the time in
// milliseconds since it started, to "joytokey-messages.log" beside itself:
// "<ms> <message> <wparam> <lparam>". Told to hang, it stops pumping; with
// HOPLA_FAKE_JOYTOKEY_BUSY_MS set in its environment it takes that long over
// every private message, as a busy JoyToKey does.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kClass[] = L"HoplaFakeJoyToKey";
constexpr wchar_t kTitle[] = L"JoyToKey test peer";
constexpr wchar_t kCounterName[] = L"Local\\HoplaFakeJoyToKeyCounter";
constexpr wchar_t kLogName[] = L"joytokey-messages.log";
constexpr char kBusyVariable[] = "HOPLA_FAKE_JOYTOKEY_BUSY_MS";
// A message the test sends to make the peer hang for kHangMs.
constexpr UINT kHangMessage = WM_APP + 1;
constexpr DWORD kHangMs = 15000;
constexpr UINT kHeartbeat = 33768;
constexpr UINT kFirstPrivate = WM_APP;
// The peer ends by itself, so that a failed test cannot leave it behind.
constexpr UINT_PTR kLifeTimer = 1;
constexpr UINT kLifeMs = 120000;

struct Peer {
  volatile LONG* heartbeats = nullptr;
  FILE* log = nullptr;
  ULONGLONG started_ms = 0;
  DWORD busy_ms = 0;
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  auto* peer =
      reinterpret_cast<Peer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == kHangMessage) {
    Sleep(kHangMs);
    return 0;
  }
  if (message >= kFirstPrivate && message <= 0xBFFF && peer != nullptr) {
    if (peer->log != nullptr) {
      std::fprintf(peer->log, "%llu %u %llu %lld\n",
                   GetTickCount64() - peer->started_ms, message,
                   static_cast<unsigned long long>(wparam),
                   static_cast<long long>(lparam));
      std::fflush(peer->log);
    }
    if (message == kHeartbeat) InterlockedIncrement(peer->heartbeats);
    if (peer->busy_ms > 0) Sleep(peer->busy_ms);
    return 0;
  }
  if (message == WM_TIMER || message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + name;
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
  peer.started_ms = GetTickCount64();
  peer.log = _wfopen(BesideThisProgram(kLogName).c_str(), L"w");
  if (const char* busy = std::getenv(kBusyVariable)) {
    peer.busy_ms = static_cast<DWORD>(std::strtoul(busy, nullptr, 10));
  }
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
  if (peer.log != nullptr) std::fclose(peer.log);
  UnmapViewOfFile(const_cast<LONG*>(peer.heartbeats));
  CloseHandle(mapping);
  return 0;
}
