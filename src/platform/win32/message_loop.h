// The UI thread's message loop and its timer host: a hidden top-level window
// owned by the UI thread. Its one window timer and its private wake-up
// message are dispatched by every loop on that thread, including the modal
// loop of an open message box, so the UI host keeps being served there too.
#ifndef HOPLA_PLATFORM_WIN32_MESSAGE_LOOP_H_
#define HOPLA_PLATFORM_WIN32_MESSAGE_LOOP_H_

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/platform.h"
#include "platform/win32/exception_trap.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

inline constexpr wchar_t kTimerHostClassName[] = L"HoplaTimerHost";

class MessageLoop {
 public:
  // `now_ms` is the platform's clock; due times are on the same clock.
  // `trap` keeps what the host throws until the loop can throw it again.
  MessageLoop(std::function<int64_t()> now_ms, ExceptionTrap& trap);
  ~MessageLoop();
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // Runs until QuitMessageLoop (WM_QUIT). What a window procedure or the
  // host threw comes out of here, after the message that raised it.
  // `is_dialog_message` lets forms handle Tab and arrow keys; it returns true
  // when it consumed the message.
  void Run(UiLoopHost& host,
           const std::function<bool(MSG&)>& is_dialog_message);
  void Quit();
  // Any thread. Cheap when a wake-up is already on its way.
  void Wake();
  // UI thread, before a modal loop of the system's (a message box) starts
  // from inside the host: the host is asked again within the timer's
  // shortest time, and so keeps being served inside the box.
  void ServeSoon();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  bool CreateHostWindow();
  void DestroyHostWindow();
  // Calls the host and re-arms the timer for the due time it returns. May
  // run nested, when the host opens a message box.
  void ServeHost();
  void Arm(int64_t due_ms);
  // Returns false once WM_QUIT (or an error) has been seen.
  bool DispatchBatch(const std::function<bool(MSG&)>& is_dialog_message);

  std::function<int64_t()> now_ms_;
  ExceptionTrap& trap_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> wake_pending_{false};
  UiLoopHost* host_ = nullptr;
  // The due time the timer is set for, and whether it has fired since:
  // asking for the same time again costs no call to the window system.
  int64_t armed_due_ms_ = UiLoopHost::kNoWake;
  bool due_timer_fired_ = false;
  // The system timer repeats by itself: its period (0 when it was clamped
  // and so is out of step with the work) and when it fires next.
  int64_t period_ms_ = 0;
  int64_t next_fire_ms_ = 0;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_MESSAGE_LOOP_H_
