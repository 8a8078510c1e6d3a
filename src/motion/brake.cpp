#include "motion/brake.h"

#include "shared/slider_maps.h"

namespace hopla {

namespace {

// The kind a role belongs to, or none when the role is not listed. A role
// that is no byte (or came as text) is not listed.
const BrakeKind* KindOfRole(const RoleReading& reading) {
  if (reading.kind != RoleReading::Kind::kNumber) return nullptr;
  if (reading.role < 0 || reading.role > 0xFF) return nullptr;
  for (const BrakeKind* kind : kBrakeKindList) {
    if (kind->role != kNoRole && kind->role == reading.role) return kind;
  }
  return nullptr;
}

}  // namespace

bool IsBrakeRole(const RoleReading& reading) {
  return KindOfRole(reading) != nullptr;
}

void ApplyBrakeReading(EngineState& state, const RoleReading& reading) {
  // A failed probe changes nothing: the speed so far, braked or not, goes on.
  if (reading.kind == RoleReading::Kind::kFailed) return;
  // Reset on every answer, so the delay is added once and never piles up.
  ApplySpeedPosition(state);
  if (const BrakeKind* kind = KindOfRole(reading)) {
    // A listed kind that is not ticked leaves the brake as it is.
    if ((state.BrakeKinds & kind->bit) != 0) state.Braking = true;
  } else {
    ApplySpeedPosition(state);
    state.Braking = false;
    state.BrakeReleased = false;  // armed again
  }
  if (state.Braking && !state.BrakeReleased) {
    state.StepDelay = state.StepDelay + state.BrakeDelay;
  }
}

}  // namespace hopla
