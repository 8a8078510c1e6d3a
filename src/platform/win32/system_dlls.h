// The multimedia and accessibility libraries, loaded from the system folder
// only. Windows takes a few libraries (kernel32, user32, ole32, ...) from the
// system folder whatever the search order; winmm and oleacc are not among
// them, so importing them would let a copy of Hopla in Downloads load a
// planted winmm.dll or oleacc.dll from that folder.
#ifndef HOPLA_PLATFORM_WIN32_SYSTEM_DLLS_H_
#define HOPLA_PLATFORM_WIN32_SYSTEM_DLLS_H_

#include "platform/win32/win32_include.h"
// After windows.h.
#include <oleacc.h>

namespace hopla::win32 {

// One library from the system folder, freed with the object.
class SystemDll {
 public:
  explicit SystemDll(const wchar_t* name);
  ~SystemDll();
  SystemDll(const SystemDll&) = delete;
  SystemDll& operator=(const SystemDll&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  // The named function as type `Fn`, or null when the library or the
  // function is missing.
  template <typename Fn>
  Fn Find(const char* function) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(module_, function)));
  }

 private:
  HMODULE module_;
};

// What the program uses of winmm. A missing function reads as: no joystick,
// no sound, the system's timer resolution.
struct WinmmApi {
  WinmmApi();
  SystemDll dll;
  decltype(&joyGetPosEx) joy_get_pos_ex;
  decltype(&PlaySoundW) play_sound;
  decltype(&timeBeginPeriod) time_begin_period;
  decltype(&timeEndPeriod) time_end_period;
};

// What the brake and the keyboard use of oleacc. A missing function makes every
// probe fail.
struct OleaccApi {
  OleaccApi();
  SystemDll dll;
  decltype(&AccessibleObjectFromPoint) accessible_object_from_point;
  decltype(&AccessibleObjectFromWindow) accessible_object_from_window;
  decltype(&AccessibleChildren) accessible_children;
  decltype(&LresultFromObject) lresult_from_object;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_SYSTEM_DLLS_H_
