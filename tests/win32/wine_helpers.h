// Helpers for tests that run real windows, threads and programs under Wine:
// bounded waits, a child process, message boxes of the program under test,
// a window of another thread that counts what it receives, and a watchdog
// that ends a message loop which would otherwise never end.
#ifndef HOPLA_TESTS_WIN32_WINE_HELPERS_H_
#define HOPLA_TESTS_WIN32_WINE_HELPERS_H_

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace hopla::wine_test {

// Handles what is queued for this thread, without waiting.
void PumpMessages();

// Checks `done` every few milliseconds (pumping this thread's messages in
// between) until it holds or `timeout_ms` has passed. Returns its last value.
bool WaitUntil(const std::function<bool()>& done, int timeout_ms);

// Brings `window` to the front; false when it did not come within 5 s.
bool BringToFront(HWND window);
// A visible top-level window of this class in this process, found within
// 5 s, or null.
HWND FindWindowOfClass(const wchar_t* window_class, DWORD process_id);

// A program started for a test; ended (killed if need be) when destroyed.
class ChildProcess {
 public:
  // Starts `exe` with `arguments` in `working_dir` (empty: ours). Returns
  // nothing when the system refused.
  static std::unique_ptr<ChildProcess> Start(const std::wstring& exe,
                                             const std::wstring& arguments,
                                             const std::wstring& working_dir);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  DWORD id() const { return id_; }
  // True when the process ended within `timeout_ms`.
  bool WaitForExit(int timeout_ms);
  // The exit code once the process has ended.
  std::optional<DWORD> ExitCode() const;

 private:
  ChildProcess(HANDLE process, DWORD id) : process_(process), id_(id) {}
  HANDLE process_;
  DWORD id_;
};

// The system's Notepad, started, with its main window in `window` (null
// when it did not show).
std::unique_ptr<ChildProcess> StartNotepad(HWND& window);

// A visible top-level window of class `window_class` (empty: any class) with
// this title, of process `process_id` (0: any), found within `timeout_ms`;
// null when none appeared.
HWND FindVisibleWindow(const std::wstring& window_class,
                       const std::wstring& title, int timeout_ms,
                       DWORD process_id = 0);
// A message box (#32770) with this caption, as above.
HWND FindMessageBox(const std::wstring& caption, int timeout_ms,
                    DWORD process_id = 0);
// The box's message text.
std::wstring MessageBoxText(HWND box);
// Presses a button (IDOK, IDCANCEL) as the user would. WM_CLOSE is not used:
// Wine answers it with IDCANCEL even for an OK box.
void PressMessageBoxButton(HWND box, int button_id);

// A top-level window owned by its own thread, titled as the test likes, that
// counts every message it receives. It can be made to stop pumping for a
// while, as a hung program does.
class CountingWindow {
 public:
  explicit CountingWindow(const std::wstring& title);
  ~CountingWindow();
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  HWND hwnd() const { return window_; }
  int Count(UINT message) const;
  // The window's thread stops pumping for `ms` milliseconds, starting now.
  void Freeze(int ms);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  void Run(const std::wstring& title, HANDLE ready);

  HWND window_ = nullptr;
  mutable std::mutex lock_;
  std::map<UINT, int> counts_;
  std::thread thread_;
};

// Posts WM_QUIT to the thread that made it once `timeout_ms` has passed, so
// that a message loop under test ends even when what it waits for never
// comes. fired() tells whether it had to.
class LoopWatchdog {
 public:
  explicit LoopWatchdog(int timeout_ms);
  ~LoopWatchdog();
  LoopWatchdog(const LoopWatchdog&) = delete;
  LoopWatchdog& operator=(const LoopWatchdog&) = delete;
  bool fired() const { return fired_.load(); }

 private:
  HANDLE cancel_;
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

// Presses the switch of Hopla-testswitch.exe (and of a platform made with
// the shared-memory source) from a test: owns the named byte while it lives.
class TestSwitchDriver {
 public:
  TestSwitchDriver();
  ~TestSwitchDriver();
  TestSwitchDriver(const TestSwitchDriver&) = delete;
  TestSwitchDriver& operator=(const TestSwitchDriver&) = delete;
  bool ok() const { return byte_ != nullptr; }
  void SetDown(bool down);
  // Writes the whole byte, other bits included.
  void SetByte(uint8_t value);

 private:
  HANDLE mapping_ = nullptr;
  volatile uint8_t* byte_ = nullptr;
};

// A new empty folder under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  // Names of the files in it (no "." or "..").
  std::vector<std::wstring> FileNames() const;

 private:
  std::wstring path_;
};

std::string ToUtf8(const std::wstring& wide);
std::wstring ToWide(const std::string& utf8);

}  // namespace hopla::wine_test

#endif  // HOPLA_TESTS_WIN32_WINE_HELPERS_H_
