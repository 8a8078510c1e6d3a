#include "wine_helpers.h"

#include "platform/win32/switch_source.h"

namespace hopla::wine_test {
namespace {

constexpr DWORD kPollStepMs = 5;
constexpr wchar_t kCountingClass[] = L"HoplaTestCountingWindow";
constexpr wchar_t kDialogClass[] = L"#32770";
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr UINT kFreezeMessage = WM_APP + 7;
constexpr DWORD kThreadStartTimeoutMs = 5000;
constexpr DWORD kChildEndTimeoutMs = 5000;
constexpr int kTitleChars = 512;

std::wstring TextOf(HWND window) {
  wchar_t text[kTitleChars] = {};
  GetWindowTextW(window, text, kTitleChars);
  return text;
}

struct WindowSearch {
  const std::wstring* window_class;
  const std::wstring* title;
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK VisitForWindow(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowSearch*>(lparam);
  if (!search->window_class->empty()) {
    wchar_t window_class[kTitleChars] = {};
    GetClassNameW(window, window_class, kTitleChars);
    if (*search->window_class != window_class) return TRUE;
  }
  if (!IsWindowVisible(window) || TextOf(window) != *search->title) {
    return TRUE;
  }
  DWORD owner_process = 0;
  GetWindowThreadProcessId(window, &owner_process);
  if (search->process_id != 0 && owner_process != search->process_id) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

void PumpMessages() {
  MSG msg;
  // Bounded: a flood of messages cannot keep a test here.
  for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
       ++i) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  while (!done()) {
    if (GetTickCount64() >= end) return done();
    PumpMessages();
    Sleep(kPollStepMs);
  }
  return true;
}

std::unique_ptr<ChildProcess> ChildProcess::Start(
    const std::wstring& exe, const std::wstring& arguments,
    const std::wstring& working_dir) {
  std::wstring command = L"\"" + exe + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr,
                      working_dir.empty() ? nullptr : working_dir.c_str(),
                      &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return std::unique_ptr<ChildProcess>(
      new ChildProcess(info.hProcess, info.dwProcessId));
}

ChildProcess::~ChildProcess() {
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kChildEndTimeoutMs);
  }
  CloseHandle(process_);
}

bool ChildProcess::WaitForExit(int timeout_ms) {
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout_ms)) ==
         WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE) {
    return std::nullopt;
  }
  return code;
}

HWND FindVisibleWindow(const std::wstring& window_class,
                       const std::wstring& title, int timeout_ms,
                       DWORD process_id) {
  WindowSearch search{&window_class, &title, process_id, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(&VisitForWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout_ms);
  return search.found;
}

HWND FindMessageBox(const std::wstring& caption, int timeout_ms,
                    DWORD process_id) {
  return FindVisibleWindow(kDialogClass, caption, timeout_ms, process_id);
}

std::wstring MessageBoxText(HWND box) {
  return TextOf(GetDlgItem(box, kMessageBoxTextId));
}

void PressMessageBoxButton(HWND box, int button_id) {
  PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button_id), 0);
}

CountingWindow::CountingWindow(const std::wstring& title) {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this, title, ready] { Run(title, ready); });
  WaitForSingleObject(ready, kThreadStartTimeoutMs);
  CloseHandle(ready);
}

CountingWindow::~CountingWindow() {
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (thread_.joinable()) thread_.join();
}

void CountingWindow::Run(const std::wstring& title, HANDLE ready) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &CountingWindow::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kCountingClass;
  RegisterClassExW(&wc);  // a second window finds it registered
  window_ =
      CreateWindowExW(0, kCountingClass, title.c_str(), WS_OVERLAPPEDWINDOW, 10,
                      10, 200, 100, nullptr, nullptr, wc.hInstance, this);
  SetEvent(ready);
  if (window_ == nullptr) return;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    DispatchMessageW(&msg);
  }
}

LRESULT CALLBACK CountingWindow::WindowProc(HWND window, UINT message,
                                            WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(
            reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<CountingWindow*>(
      GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    std::lock_guard<std::mutex> hold(self->lock_);
    ++self->counts_[message];
  }
  if (message == kFreezeMessage) {
    Sleep(static_cast<DWORD>(wparam));
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

int CountingWindow::Count(UINT message) const {
  std::lock_guard<std::mutex> hold(lock_);
  auto it = counts_.find(message);
  return it == counts_.end() ? 0 : it->second;
}

void CountingWindow::Freeze(int ms) {
  PostMessageW(window_, kFreezeMessage, static_cast<WPARAM>(ms), 0);
  // Returns once the window's thread is really inside the freeze.
  WaitUntil([&] { return Count(kFreezeMessage) > 0; }, ms);
}

LoopWatchdog::LoopWatchdog(int timeout_ms)
    : cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  const DWORD thread_id = GetCurrentThreadId();
  thread_ = std::thread([this, thread_id, timeout_ms] {
    if (WaitForSingleObject(cancel_, static_cast<DWORD>(timeout_ms)) ==
        WAIT_TIMEOUT) {
      fired_.store(true);
      PostThreadMessageW(thread_id, WM_QUIT, 0, 0);
    }
  });
}

LoopWatchdog::~LoopWatchdog() {
  SetEvent(cancel_);
  thread_.join();
  CloseHandle(cancel_);
}

TestSwitchDriver::TestSwitchDriver()
    : mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                  0, 1, win32::kTestSwitchMappingName)) {
  if (mapping_ == nullptr) return;
  byte_ = static_cast<volatile uint8_t*>(
      MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 1));
  if (byte_ != nullptr) *byte_ = 0;
}

TestSwitchDriver::~TestSwitchDriver() {
  if (byte_ != nullptr) UnmapViewOfFile(const_cast<uint8_t*>(byte_));
  if (mapping_ != nullptr) CloseHandle(mapping_);
}

void TestSwitchDriver::SetDown(bool down) { SetByte(down ? 1 : 0); }

void TestSwitchDriver::SetByte(uint8_t value) {
  if (byte_ != nullptr) *byte_ = value;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  path_ = std::wstring(base) + L"hopla-test-" +
          std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount64());
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  for (const std::wstring& name : FileNames()) {
    const std::wstring file = path_ + L"\\" + name;
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
  }
  RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> TempFolder::FileNames() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::string ToUtf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                       static_cast<int>(wide.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                      utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::wstring ToWide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(
      CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), size);
  return wide;
}

namespace {
constexpr int kFrontTimeoutMs = 5000;
}  // namespace

bool BringToFront(HWND window) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return GetForegroundWindow() == window;
      },
      kFrontTimeoutMs);
}

std::unique_ptr<ChildProcess> StartNotepad(HWND& window) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  auto notepad =
      ChildProcess::Start(std::wstring(system) + L"\\notepad.exe", L"", L"");
  window = notepad != nullptr ? FindWindowOfClass(L"Notepad", notepad->id())
                              : nullptr;
  return notepad;
}

HWND FindWindowOfClass(const wchar_t* window_class, DWORD process_id) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w = FindWindowExW(nullptr, nullptr, window_class, nullptr);
             w != nullptr;
             w = FindWindowExW(nullptr, w, window_class, nullptr)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == process_id && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
      },
      kFrontTimeoutMs);
  return found;
}

}  // namespace hopla::wine_test
