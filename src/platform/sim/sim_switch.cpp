// The switch a simulated program reads, whichever device it chose, and the
// code bubble it shows (told in the trace).
#include <algorithm>
#include <string>
#include <utility>

#include "platform/sim/sim_process.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

namespace {
bool SameDevice(const SwitchChoice& a, const SwitchChoice& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case SwitchKind::kJoystick:
      return a.joystick == b.joystick && a.button == b.button;
    case SwitchKind::kKey:
      return a.key == b.key;
    case SwitchKind::kMouseButton:
      return a.mouse_button == b.mouse_button;
  }
  return false;
}
}  // namespace

// A joystick is read as it stands at the poll; a key or mouse button also
// reads as down for a tap that began after the last poll and has ended.
SwitchPoll SimProcessImpl::PollSwitch() {
  SimGuard lock(Mutex());
  after_poll_ = OnUiThreadLocked();
  const int64_t now = world_.NowLocked();
  const int64_t last = std::exchange(last_switch_poll_ms_, now);
  const SwitchChoice& chosen = switch_choice_;
  auto within = [now](const SimDesktop::Impl::Span& span) {
    return span.from_ms <= now && now < span.until_ms;
  };
  if (chosen.kind == SwitchKind::kJoystick &&
      std::any_of(world_.failures.begin(), world_.failures.end(),
                  [&](const SimDesktop::Impl::Span& span) {
                    return within(span) &&
                           span.device.joystick == chosen.joystick;
                  })) {
    return {false, 0};
  }
  const bool latched = chosen.kind != SwitchKind::kJoystick;
  const bool down = std::any_of(world_.holds.begin(), world_.holds.end(),
                                [&](const SimDesktop::Impl::Span& span) {
                                  if (!SameDevice(span.device, chosen))
                                    return false;
                                  const bool tapped = latched &&
                                                      last != kNever &&
                                                      span.from_ms > last &&
                                                      span.until_ms <= now;
                                  return within(span) || tapped;
                                });
  return {true, down ? 1u : 0u};
}

void SimProcessImpl::UseSwitch(const SwitchChoice& choice) {
  SimGuard lock(Mutex());
  switch_choice_ = choice;
}

void SimProcessImpl::LetSwitchThrough(bool through) {
  SimGuard lock(Mutex());
  switch_through_ = through;
  world_.RecordLocked("switch", through ? "let through" : "taken");
}

bool SimProcessImpl::SwitchLetThrough() const {
  SimGuard lock(Mutex());
  return switch_through_;
}

// The trace tells each drawing: "marks|command|time left|bar".
void SimProcessImpl::ShowBubble(const BubbleView& view) {
  SimGuard lock(Mutex());
  world_.RecordLocked("bubble", view.marks + "|" + view.command + "|" +
                                    view.time_left + "|" +
                                    std::to_string(view.hold_permille));
}

void SimProcessImpl::HideBubble() {
  SimGuard lock(Mutex());
  world_.RecordLocked("bubble", "hidden");
}

}  // namespace hopla::sim
