// The brake: the walking cursor slows over the kinds of element the person
// ticked, found by their accessibility role, by the delay of the chosen
// strength; code "00" lets it pass the element it is over.
#ifndef HOPLA_MOTION_BRAKE_H_
#define HOPLA_MOTION_BRAKE_H_

#include <array>
#include <cstdint>

#include "shared/engine_state.h"

namespace hopla {

// The strengths, as BrakeDelay in milliseconds.
inline constexpr int32_t kBrakeNone = 1;
inline constexpr int32_t kBrakeWeak = 50;
inline constexpr int32_t kBrakeMedium = 100;
inline constexpr int32_t kBrakeStrong = 150;

// One bit of BrakeKinds per kind box, and the role that brakes for it.
struct BrakeKind {
  uint32_t bit;
  int64_t role;
};
inline constexpr BrakeKind kBrakeIcon{0x001, 0x22};       // list item
inline constexpr BrakeKind kBrakeScrollBar{0x002, 0x27};  // indicator
inline constexpr BrakeKind kBrakeCheckBox{0x008, 0x2C};   // check button
inline constexpr BrakeKind kBrakeTrayTab{0x020, 0x25};    // page tab
inline constexpr BrakeKind kBrakeButton{0x040, 0x2B};     // push button
inline constexpr BrakeKind kBrakeMenuBar{0x080, 0x0C};    // menu item
inline constexpr BrakeKind kBrakeRadio{0x100, 0x2D};      // radio button
inline constexpr BrakeKind kBrakeLink{0x200, 0x1E};       // link
inline constexpr std::array<BrakeKind, 8> kBrakeRoles = {
    kBrakeIcon,   kBrakeScrollBar, kBrakeCheckBox, kBrakeTrayTab,
    kBrakeButton, kBrakeMenuBar,   kBrakeRadio,    kBrakeLink};

// What the brake needs of the window.
class BrakeSite {
 public:
  virtual ~BrakeSite() = default;
  // Enables or disables all ten kind boxes; their ticks stay as they are.
  virtual void EnableKindBoxes(bool enabled) = 0;
};

// The strength and kind boxes' handlers, on the UI thread.
class Brake {
 public:
  Brake(EngineState& state, BrakeSite& site) : state_(state), site_(site) {}

  void SetStrength(int32_t brake_delay_ms);
  void SetKind(const BrakeKind& kind, bool ticked);

 private:
  EngineState& state_;
  BrakeSite& site_;
};

// Whether the role is one of the role table's (ticked or not).
bool IsBrakeRole(const RoleReading& reading);

// A strength other than none and at least one kind ticked: the walk asks.
inline bool BrakeWanted(const EngineState& state) {
  return state.BrakeOn && state.BrakeKinds != 0;
}

// The probe's decision, on the mover thread, with what the accessibility
// interface said of the element under the cursor. StepDelay goes back to
// the speed slider's value first.
void ApplyBrakeReading(EngineState& state, const RoleReading& reading);

}  // namespace hopla

#endif  // HOPLA_MOTION_BRAKE_H_
