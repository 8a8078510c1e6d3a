// The brake: the walking cursor slows over the kinds of element the person
// ticked, found by their accessibility role, by the delay of the chosen
// strength; code "00" lets it pass the element it is over.
#ifndef HOPLA_MOTION_BRAKE_H_
#define HOPLA_MOTION_BRAKE_H_

#include "shared/brake_kinds.h"
#include "shared/engine_state.h"

namespace hopla {

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
