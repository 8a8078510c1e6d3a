#include "platform/win32/switch_source.h"

#include <cstdint>

#include "platform/absent_device.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

// The joystick record as the program has always passed it: the record's size
// and X, Y and the buttons asked for.
constexpr DWORD kJoyInfoSize = 52;
constexpr DWORD kJoyReturnFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
static_assert(sizeof(JOYINFOEX) == kJoyInfoSize);
static_assert(kJoyReturnFlags == 0x83);
constexpr UINT kFirstJoystick = JOYSTICKID1;

constexpr uint8_t kTestSwitchDownBit = 0x01;

class JoystickSwitch final : public SwitchSource {
 public:
  explicit JoystickSwitch(const WinmmApi& winmm) : winmm_(winmm) {}
  SwitchPoll Poll() override {
    if (winmm_.joy_get_pos_ex == nullptr) return {};
    const int64_t now_ms = static_cast<int64_t>(GetTickCount64());
    if (!retry_.ShouldAsk(now_ms)) return {};
    // A fresh record per poll keeps concurrent polls independent.
    JOYINFOEX info{};
    info.dwSize = kJoyInfoSize;
    info.dwFlags = kJoyReturnFlags;
    SwitchPoll poll;
    poll.ok = winmm_.joy_get_pos_ex(kFirstJoystick, &info) == JOYERR_NOERROR;
    poll.buttons = poll.ok ? static_cast<uint32_t>(info.dwButtons) : 0;
    retry_.Record(poll.ok, now_ms);
    return poll;
  }

 private:
  const WinmmApi& winmm_;
  AbsentDeviceRetry retry_;
};

// Opens the mapping on every poll instead of keeping it: a driver that ends
// (or crashes) with the byte set must not leave the switch held down forever,
// and once the last handle closes the mapping is gone and reads as "up".
class SharedMemorySwitch final : public SwitchSource {
 public:
  SwitchPoll Poll() override {
    SwitchPoll poll;
    poll.ok = true;
    HANDLE mapping =
        OpenFileMappingW(FILE_MAP_READ, FALSE, kTestSwitchMappingName);
    if (mapping == nullptr) return poll;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 1);
    if (view != nullptr) {
      const uint8_t state = *static_cast<const volatile uint8_t*>(view);
      poll.buttons = (state & kTestSwitchDownBit) != 0 ? 1u : 0u;
      UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return poll;
  }
};

}  // namespace

std::unique_ptr<SwitchSource> MakeSwitchSource(SwitchSourceKind kind,
                                               const WinmmApi& winmm) {
  if (kind == SwitchSourceKind::kSharedMemory) {
    return std::make_unique<SharedMemorySwitch>();
  }
  return std::make_unique<JoystickSwitch>(winmm);
}

}  // namespace hopla::win32
