// A keyboard key or mouse button taken as the switch: low-level hooks on a
// thread of their own, which does nothing else, so they always answer in
// time (the UI thread sleeps through every press in the hold loop, and
// Windows drops a hook that keeps it waiting). The chosen key or button
// reaches no other program, unless it is let through (a pause); Hopla's own
// synthetic input carries a marker and passes, while other programs' synthetic
// input counts as the switch.
#ifndef HOPLA_PLATFORM_WIN32_INPUT_HOOK_H_
#define HOPLA_PLATFORM_WIN32_INPUT_HOOK_H_

#include <atomic>

#include "platform/switch_choice.h"
#include "platform/switch_latch.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

// The extra information of Hopla's own input while a key or mouse button is
// the switch ("HOPL").
inline constexpr ULONG_PTR kHoplaInputMarker = 0x484F504C;

class InputHook {
 public:
  // Starts the thread and waits until its hooks are in place.
  explicit InputHook(const SwitchChoice& choice);
  ~InputHook();
  InputHook(const InputHook&) = delete;
  InputHook& operator=(const InputHook&) = delete;

  // Whether the hooks could be set.
  bool Hooked() const { return hooked_.load(); }
  // Down now, or tapped since the last poll.
  bool Poll() { return latch_.Poll(); }
  // While true the switch is still read but no longer swallowed.
  void LetThrough(bool through) { through_.store(through); }

 private:
  static DWORD WINAPI ThreadMain(void* self);
  static LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM data);
  static LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data);
  // Whether the event is the switch; updates the latch when it is.
  bool TakeKey(WPARAM message, const KBDLLHOOKSTRUCT& event);
  bool TakeMouse(WPARAM message, const MSLLHOOKSTRUCT& event);

  const SwitchChoice choice_;
  SwitchLatch latch_;
  std::atomic<bool> hooked_{false};
  std::atomic<bool> through_{false};
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD thread_id_ = 0;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_INPUT_HOOK_H_
