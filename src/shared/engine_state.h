// The values that the heartbeat, the executor, the mover thread and the
// settings handlers share. Fields keep the names the whole team uses for
// them. Word-sized values are relaxed atomics: each has one meaning at a
// time and the last write wins.
#ifndef HOPLA_SHARED_ENGINE_STATE_H_
#define HOPLA_SHARED_ENGINE_STATE_H_

#include <atomic>
#include <cassert>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "shared/press_code.h"
#include "shared/texts.h"

namespace hopla {

// A relaxed atomic that reads and writes like a plain variable.
template <typename T>
class Shared {
 public:
  constexpr Shared(T value = T{}) : value_(value) {}  // NOLINT: plain-like
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;
  operator T() const { return value_.load(std::memory_order_relaxed); }
  Shared& operator=(T value) {
    value_.store(value, std::memory_order_relaxed);
    return *this;
  }
  // For a count that several threads change at once.
  void Add(T delta) { value_.fetch_add(delta, std::memory_order_relaxed); }

 private:
  std::atomic<T> value_;
};

// A shared value with no built-in worth having (the screen's size): reading
// it before it was ever set is a fault, asserted in debug builds.
template <typename T>
class Required {
 public:
  Required() = default;
  Required(const Required&) = delete;
  Required& operator=(const Required&) = delete;
  operator T() const {  // NOLINT: plain-like
    assert(set_.load(std::memory_order_relaxed) && "read before it was set");
    return value_.load(std::memory_order_relaxed);
  }
  Required& operator=(T value) {
    value_.store(value, std::memory_order_relaxed);
    set_.store(true, std::memory_order_relaxed);
    return *this;
  }

 private:
  std::atomic<T> value_{};
  std::atomic<bool> set_{false};
};

// Built-in values, before the settings are read.
inline constexpr int32_t kBuiltInLongPressTicks = 20;
inline constexpr int32_t kBuiltInPollIntervalMs = 10;
inline constexpr int32_t kBuiltInExecuteDelayMs = 1000;
inline constexpr int32_t kBuiltInStepDelayMs = 50;
inline constexpr int32_t kBuiltInBrakeDelayMs = 50;

// Bit 0 of the joystick's buttons: the switch.
inline constexpr uint32_t kSwitchButton = 0x1;

// The last polled state of the joystick: only its buttons are ever used.
struct JoyRecord {
  uint32_t buttons = 0;
};

struct EngineState {
  // Press coding.
  PressCodeText PressCode;
  Shared<int32_t> HoldTicks{0};  // polls the press held so far has lasted
  // Polls a press must last to be long.
  Shared<int32_t> LongPressTicks{kBuiltInLongPressTicks};
  // Milliseconds between the polls of a held switch. The key-mode slider
  // sets it, and the same number is the key-mode point in long-press times.
  Shared<int32_t> PollInterval{kBuiltInPollIntervalMs};
  // Milliseconds of quiet after the last press before the code runs.
  Shared<int32_t> ExecuteDelay{kBuiltInExecuteDelayMs};
  JoyRecord JoyInfo;  // UI thread only
  Shared<bool> KeyMode{false};

  // Motion.
  Shared<bool> Moving{false};
  Shared<int32_t> Direction{0};
  Shared<int32_t> DirectionCount{0};
  Shared<int32_t> SpeedFactor{1};
  Shared<bool> SpeedBoost{false};
  // The speed slider's position, 1..8: StepDelay and StepPixels as it maps
  // them, the brake's delay left out.
  Shared<int32_t> SpeedPosition{1};
  // Milliseconds a pass: SpeedPosition's, plus BrakeDelay while braking.
  Shared<int32_t> StepDelay{kBuiltInStepDelayMs};
  Shared<int32_t> StepPixels{1};
  Shared<bool> TurnAtEdges{false};  // OrikaesiCheckBox
  Shared<int32_t> CursorX{0};       // CursorPos
  Shared<int32_t> CursorY{0};
  Required<int32_t> ScreenRight;
  Required<int32_t> ScreenBottom;
  // With several monitors: the walk covers their bounding box, whose left
  // and top edges these are, and a step onto no monitor counts as the edge.
  // Set once, before any mover thread starts; with one monitor, 0 and none.
  Shared<int32_t> ScreenLeft{0};
  Shared<int32_t> ScreenTop{0};
  std::vector<Rect> Monitors;
  std::unique_ptr<Event> MoverEvent;

  // The language of every text shown: set at start, before any window.
  Shared<Language> TextLanguage{Language::kJapanese};

  // Options the settings' handlers set and the parts read.
  Shared<bool> SoundOn{false};       // SoundCheckBox
  Shared<bool> JoyToKeyUsed{false};  // JtkUseCheckBox
  Shared<bool> BoostAllowed{false};  // ImadakeSokudo
  Shared<bool> BubbleOn{true};       // the code bubble beside the cursor
  // Code "01" while walking hops to the next element ahead.
  Shared<bool> HopOn{false};
  // Code "11" while walking stops and clicks where the walk halted.
  Shared<bool> StopClickOn{false};
  // Speed positions 5..8 walk 154 to 400 px/s rather than 500 to 5000.
  Shared<bool> FineSpeedsOn{false};
  // The walk goes from element to element ahead, one every StepPaceMs.
  Shared<bool> ElementStepOn{false};
  // Code "10" while standing opens or closes Hopla's keyboard.
  Shared<bool> KeyboardOn{false};
  Shared<int32_t> StepPaceMs{1000};
  // The stepping's rhythm, kept across the mover threads that each press
  // ends and starts: when the next look ahead is due, the direction of the
  // last, and whether it found nothing (the walk walks meanwhile).
  Shared<int64_t> NextStepUs{0};
  Shared<int32_t> SteppedDirection{0};
  Shared<bool> NothingAhead{false};
  // The looks ahead that have not ended (a window that hangs holds one),
  // and when the last one began.
  Shared<int32_t> LooksUnfinished{0};
  Shared<int64_t> LookStartedUs{0};

  // A carer's pause: the switch only ends it (a hold to the key-mode
  // point) and reaches the programs as it would without Hopla.
  Shared<bool> Paused{false};

  // Commands.
  Shared<bool> ButtonHeld{false};
  Shared<int32_t> CommandState{0};
  Shared<WindowHandle> MinimisedWindow{kNoWindow};
  Shared<int32_t> CornerX{0};  // CornerPos
  Shared<int32_t> CornerY{0};
  Shared<bool> LogitechSearch{false};
  Shared<WindowHandle> LogitechWindow{kNoWindow};
  Shared<WindowHandle> PadWindow{kNoWindow};

  // Brake.
  Shared<bool> Braking{false};
  Shared<bool> BrakeReleased{false};
  // A strength other than none was chosen (none is chosen at first).
  Shared<bool> BrakeOn{false};
  Shared<int32_t> BrakeDelay{kBuiltInBrakeDelayMs};  // milliseconds a pass
  Shared<uint32_t> BrakeKinds{0};  // one bit per kind of element

  // JoyToKey.
  Shared<WindowHandle> JoyToKeyWindow{kNoWindow};
  Shared<bool> JoyToKeyFound{false};
};

}  // namespace hopla

#endif  // HOPLA_SHARED_ENGINE_STATE_H_
