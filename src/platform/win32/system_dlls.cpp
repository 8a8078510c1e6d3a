#include "platform/win32/system_dlls.h"

namespace hopla::win32 {

SystemDll::SystemDll(const wchar_t* name)
    : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

SystemDll::~SystemDll() {
  if (module_ != nullptr) FreeLibrary(module_);
}

WinmmApi::WinmmApi()
    : dll(L"winmm.dll"),
      joy_get_pos_ex(dll.Find<decltype(joy_get_pos_ex)>("joyGetPosEx")),
      play_sound(dll.Find<decltype(play_sound)>("PlaySoundW")),
      time_begin_period(
          dll.Find<decltype(time_begin_period)>("timeBeginPeriod")),
      time_end_period(dll.Find<decltype(time_end_period)>("timeEndPeriod")) {}

OleaccApi::OleaccApi()
    : dll(L"oleacc.dll"),
      accessible_object_from_point(
          dll.Find<decltype(accessible_object_from_point)>(
              "AccessibleObjectFromPoint")),
      accessible_object_from_window(
          dll.Find<decltype(accessible_object_from_window)>(
              "AccessibleObjectFromWindow")),
      accessible_children(
          dll.Find<decltype(accessible_children)>("AccessibleChildren")),
      lresult_from_object(
          dll.Find<decltype(lresult_from_object)>("LresultFromObject")) {}

}  // namespace hopla::win32
