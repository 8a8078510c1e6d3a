// The whole program on a UI thread of its own inside the calling process,
// in a working folder of its own, its switch the test switch's shared byte:
// a test or a bench can press it and read the engine's state directly. Its
// single-instance mutex lasts as long as the process: one per process.
#ifndef HOPLA_TESTS_WIN32_IN_PROCESS_HOPLA_H_
#define HOPLA_TESTS_WIN32_IN_PROCESS_HOPLA_H_

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/hopla.h"
#include "platform/platform.h"
#include "platform/win32/switch_source.h"
#include "wine_helpers.h"

namespace hopla::wine_test {

class InProcessHopla {
 public:
  // Runs the program on `platform`, which may wrap the real one.
  using Wrap = std::function<void(
      Platform& real, const std::function<void(Platform& platform)>& run)>;

  // `settings_utf8`, when not empty, is written as its Hoplar.ini first.
  // The switch is the test switch's byte, or with kJoystick the device the
  // settings choose.
  explicit InProcessHopla(const std::string& settings_utf8 = "",
                          Wrap wrap = nullptr,
                          win32::SwitchSourceKind switch_kind =
                              win32::SwitchSourceKind::kSharedMemory);
  // Quits the program if it still runs; when it does not end, says so and
  // ends the process (joining would wait for ever).
  ~InProcessHopla();
  InProcessHopla(const InProcessHopla&) = delete;
  InProcessHopla& operator=(const InProcessHopla&) = delete;

  bool WaitShown();
  HWND Hwnd() const;
  THopla& window() { return *window_.load(); }
  std::string Code() { return window().State().PressCode.Get(); }
  // Closes the window and answers OK at the quit question; true when the
  // program ended.
  bool Quit();

 private:
  TempFolder folder_;
  wchar_t old_dir_[MAX_PATH] = {};
  std::atomic<THopla*> window_{nullptr};
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

}  // namespace hopla::wine_test

#endif  // HOPLA_TESTS_WIN32_IN_PROCESS_HOPLA_H_
