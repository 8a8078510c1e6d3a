// Where the switch is read from: the device the user chose (the real
// program), or a shared-memory byte that an outside test driver writes.
#ifndef HOPLA_PLATFORM_WIN32_SWITCH_SOURCE_H_
#define HOPLA_PLATFORM_WIN32_SWITCH_SOURCE_H_

#include <memory>

#include "platform/platform.h"
#include "platform/switch_choice.h"
#include "platform/win32/system_dlls.h"

namespace hopla::win32 {

enum class SwitchSourceKind { kJoystick, kSharedMemory };

// Name of the test switch: one byte, bit 0 set while the switch is down.
inline constexpr wchar_t kTestSwitchMappingName[] = L"Local\\HoplaTestSwitch";

class SwitchSource {
 public:
  virtual ~SwitchSource() = default;
  // Safe to call from any thread.
  virtual SwitchPoll Poll() = 0;
  // The device to read from now on; the test switch keeps its own.
  virtual void Use(const SwitchChoice& /*choice*/) {}
  // Whether a key or mouse button taken as the switch also reaches the
  // programs.
  virtual void LetThrough(bool /*through*/) {}
  // The extra information Hopla's own input carries.
  virtual ULONG_PTR InputMarker() const { return 0; }
};

// `winmm` outlives the source.
std::unique_ptr<SwitchSource> MakeSwitchSource(SwitchSourceKind kind,
                                               const WinmmApi& winmm);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_SWITCH_SOURCE_H_
