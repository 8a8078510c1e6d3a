#include "engine/heartbeat.h"

#include "shared/step_pacer.h"

namespace hopla {

void Heartbeat::Tick() {
  time_over_timer_.SetInterval(state_.ExecuteDelay);
  if (state_.JoyToKeyUsed) site_.SendJoyToKeyHeartbeat();
  // Outside a press a device that does not answer counts as released, so a
  // device lost at the end of a hold cannot start a new press by itself.
  if (!Poll()) state_.JoyInfo.buttons = 0;
  if ((state_.JoyInfo.buttons & kSwitchButton) != 0) {
    const bool paused = state_.Paused;
    time_over_timer_.SetEnabled(false);
    site_.StopMoverThread();
    state_.HoldTicks = 0;
    HoldLoop();
    const bool long_press = state_.HoldTicks >= state_.LongPressTicks;
    // A try of the switch in the settings is measured in a pause too.
    if (!site_.TakePress(state_.HoldTicks * state_.PollInterval, long_press) &&
        !paused) {
      ClassifyPress();
    }
    if (!paused) site_.StartMoverThread();
  }
  if (!state_.Paused) time_over_timer_.SetEnabled(true);
  bubble_.Refresh();
}

bool Heartbeat::Poll() {
  const SwitchPoll poll = platform_.PollSwitch();
  if (poll.ok) state_.JoyInfo.buttons = poll.buttons;
  return poll.ok;
}

// Each pass of the loop is one poll and a pause, paced so that it lasts
// PollInterval in all: the poll's own time does not make a press long late.
void Heartbeat::HoldLoop() {
  StepPacer pacer;
  int32_t failed_ms = 0;
  bool down = true;
  while (down) {
    if (Poll()) {
      failed_ms = 0;
    } else {
      failed_ms += state_.PollInterval;
      if (failed_ms >= kFailedHoldReleaseMs) state_.JoyInfo.buttons = 0;
    }
    down = (state_.JoyInfo.buttons & kSwitchButton) != 0;
    const int32_t hold_ticks = state_.HoldTicks + 1;
    state_.HoldTicks = hold_ticks;
    const int32_t sleep_ms =
        pacer.SleepAfterPass(platform_.NowMicros(), state_.PollInterval);
    if (sleep_ms > 0) platform_.Sleep(sleep_ms);
    AtPoll(hold_ticks);
  }
}

void Heartbeat::AtPoll(int32_t hold_ticks) {
  bubble_.Holding(hold_ticks);
  const int32_t long_press_ticks = state_.LongPressTicks;
  if (hold_ticks == long_press_ticks && state_.SoundOn) {
    Sound(kLongPointSound);  // the press has just become long
  }
  if (hold_ticks == long_press_ticks * state_.PollInterval && !state_.Moving) {
    if (state_.SoundOn) {
      Sound(kLongPointSound);
      Sound(kLongPointSound);
    }
    if (state_.Paused) {
      site_.EndPause();
    } else {
      ToggleKeyMode();
    }
  }
}

void Heartbeat::ToggleKeyMode() {
  if (state_.KeyMode) {
    state_.KeyMode = false;
  } else {
    state_.KeyMode = true;
    state_.PressCode.Set("KEY");
  }
}

void Heartbeat::ClassifyPress() {
  if (state_.HoldTicks >= state_.LongPressTicks) {
    state_.PressCode.Append('1');
  } else {
    state_.PressCode.Append('0');
    if (state_.SoundOn) Sound(kShortPressSound);
  }
}

void Heartbeat::Sound(const char* file_name) {
  platform_.PlaySoundFile(file_name);
}

}  // namespace hopla
