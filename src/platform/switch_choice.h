// Which device is the switch: a button of a joystick, a keyboard key or a
// mouse button. The platform reads the one chosen and reports it as button 1.
#ifndef HOPLA_PLATFORM_SWITCH_CHOICE_H_
#define HOPLA_PLATFORM_SWITCH_CHOICE_H_

#include <cstdint>

namespace hopla {

enum class SwitchKind : int32_t { kJoystick = 0, kKey = 1, kMouseButton = 2 };

// The left button is never the switch: it is how the cursor clicks.
enum class SwitchMouseButton : int32_t {
  kRight = 2,
  kMiddle = 3,
  kX1 = 4,
  kX2 = 5,
};

inline constexpr int32_t kMaxJoysticks = 16;
inline constexpr int32_t kMaxJoystickButtons = 32;

struct SwitchChoice {
  SwitchKind kind = SwitchKind::kJoystick;
  int32_t joystick = 1;  // 1..kMaxJoysticks
  int32_t button = 1;    // 1..kMaxJoystickButtons
  uint32_t key = 0x20;   // a virtual-key code; Space until one is chosen
  SwitchMouseButton mouse_button = SwitchMouseButton::kRight;

  bool operator==(const SwitchChoice&) const = default;
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_SWITCH_CHOICE_H_
