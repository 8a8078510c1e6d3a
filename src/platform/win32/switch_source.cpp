#include "platform/win32/switch_source.h"

#include <cstdint>
#include <mutex>

#include "platform/absent_device.h"
#include "platform/win32/input_hook.h"
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

// A joystick button, or a key or mouse button taken through the input hook.
class ChosenSwitch final : public SwitchSource {
 public:
  explicit ChosenSwitch(const WinmmApi& winmm)
      : winmm_(winmm), retry_(std::make_unique<AbsentDeviceRetry>()) {}

  SwitchPoll Poll() override {
    std::lock_guard lock(mutex_);
    if (choice_.kind != SwitchKind::kJoystick) {
      if (hook_ == nullptr || !hook_->Hooked()) return {};
      return {true, hook_->Poll() ? 1u : 0u};
    }
    return PollJoystick();
  }

  void Use(const SwitchChoice& choice) override {
    std::lock_guard lock(mutex_);
    if (choice == choice_) return;
    choice_ = choice;
    hook_.reset();
    retry_ = std::make_unique<AbsentDeviceRetry>();
    if (choice.kind != SwitchKind::kJoystick) {
      hook_ = std::make_unique<InputHook>(choice);
      hook_->LetThrough(through_);
    }
  }

  void LetThrough(bool through) override {
    std::lock_guard lock(mutex_);
    through_ = through;
    if (hook_ != nullptr) hook_->LetThrough(through);
  }

  ULONG_PTR InputMarker() const override {
    std::lock_guard lock(mutex_);
    return hook_ != nullptr ? kHoplaInputMarker : 0;
  }

 private:
  SwitchPoll PollJoystick() {
    if (winmm_.joy_get_pos_ex == nullptr) return {};
    const auto now_ms = static_cast<int64_t>(GetTickCount64());
    if (!retry_->ShouldAsk(now_ms)) return {};
    // A fresh record per poll keeps concurrent polls independent.
    JOYINFOEX info{};
    info.dwSize = kJoyInfoSize;
    info.dwFlags = kJoyReturnFlags;
    const UINT joystick = kFirstJoystick + choice_.joystick - 1;
    SwitchPoll poll;
    poll.ok = winmm_.joy_get_pos_ex(joystick, &info) == JOYERR_NOERROR;
    const uint32_t bit = 1u << (choice_.button - 1);
    poll.buttons = poll.ok && (info.dwButtons & bit) != 0 ? 1u : 0u;
    retry_->Record(poll.ok, now_ms);
    return poll;
  }

  const WinmmApi& winmm_;
  mutable std::mutex mutex_;
  SwitchChoice choice_;
  std::unique_ptr<AbsentDeviceRetry> retry_;
  std::unique_ptr<InputHook> hook_;
  bool through_ = false;
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
  return std::make_unique<ChosenSwitch>(winmm);
}

}  // namespace hopla::win32
