// The 50 ms heartbeat: polls the switch, measures a press in a hold loop
// counted in polls, appends its mark to the press code with sound feedback,
// toggles key input mode on a very long hold, and re-arms the execution timer.
// During a pause a press only counts when held to the key-mode point: then
// the pause ends.
#ifndef HOPLA_ENGINE_HEARTBEAT_H_
#define HOPLA_ENGINE_HEARTBEAT_H_

#include <cstdint>

#include "engine/code_bubble.h"
#include "platform/platform.h"
#include "shared/engine_state.h"
#include "shared/joytokey_interface.h"
#include "toolkit/timer.h"

namespace hopla {

// What the heartbeat needs of the main window.
class HeartbeatSite {
 public:
  virtual ~HeartbeatSite() = default;
  // Tells JoyToKey's window that Hopla is there, without waiting for it.
  virtual void SendJoyToKeyHeartbeat() = 0;
  // Asks the mover thread to stop, without waiting.
  virtual void StopMoverThread() = 0;
  // Starts a fresh mover thread.
  virtual void StartMoverThread() = 0;
  // A press just measured; true when something else took it (a try of the
  // switch), and then it adds no mark.
  virtual bool TakePress(int32_t /*held_ms*/, bool /*long_press*/) {
    return false;
  }
  // A hold reached the key-mode point during a pause: the pause ends.
  virtual void EndPause() {}
};

inline constexpr int32_t kHeartbeatIntervalMs = 50;
// A hold whose polls keep failing this long (the device was unplugged in the
// middle of a press) ends as a release.
inline constexpr int32_t kFailedHoldReleaseMs = 250;

inline constexpr char kLongPointSound[] = "pu.wav";
inline constexpr char kShortPressSound[] = "Pomclick.wav";

class Heartbeat {
 public:
  Heartbeat(Platform& platform, EngineState& state, Timer& time_over_timer,
            HeartbeatSite& site, CodeBubble& bubble)
      : platform_(platform),
        state_(state),
        time_over_timer_(time_over_timer),
        site_(site),
        bubble_(bubble) {}

  // One tick of the heartbeat timer.
  void Tick();

 private:
  // Polls the switch into JoyInfo. Returns false when the device did not
  // answer; JoyInfo then keeps what it held.
  bool Poll();
  void HoldLoop();
  void AtPoll(int32_t hold_ticks);
  void ToggleKeyMode();
  void ClassifyPress();
  void Sound(const char* file_name);

  Platform& platform_;
  EngineState& state_;
  Timer& time_over_timer_;
  HeartbeatSite& site_;
  CodeBubble& bubble_;
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_HEARTBEAT_H_
