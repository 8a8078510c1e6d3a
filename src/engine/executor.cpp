#include "engine/executor.h"

#include "engine/command_table.h"
#include "motion/directions.h"
#include "motion/element_hop.h"
#include "shared/joytokey_interface.h"
#include "shared/slider_maps.h"

namespace hopla {

namespace {
constexpr int32_t kBoostFactor = 5;
}  // namespace

void Executor::Execute() {
  // The code waits for the next execution after JoyToKey's search or start.
  if (site_.JoyToKeyBusy()) return;
  state_.CommandState = kCommandNone;
  // In key input mode the taskbar button changes its flash state once per
  // execution; otherwise it returns to normal.
  platform_.FlashWindow(site_.ApplicationWindow(), state_.KeyMode);
  // Executions go on in the close's last box (the switch closes it), but
  // they open no box of their own then.
  if (state_.JoyToKeyUsed && !warning_open_ && !site_.JoyToKeyAnnouncing() &&
      !site_.ProgramClosed()) {
    CheckJoyToKey();
    if (site_.ProgramClosed()) return;  // closed inside the warning box
  }
  if (state_.KeyMode && !state_.Moving) {
    key_input_.Execute();
    return;
  }
  // The code as it stands now: presses made inside the warning box count.
  const std::string code = state_.PressCode.Get();
  if (state_.Moving && state_.HopOn && code == kWalkHop.code && Hop()) return;
  Steer(code);
  if (state_.Moving) {
    if (code == kWalkStop.code) {
      StopWalk();
      return;
    }
    if (code == kWalkStopClick.code && state_.StopClickOn) {
      StopWalk();
      // Where the walk halted: the mover may not have read its last step.
      if (const std::optional<Point> at = platform_.CursorPos()) {
        state_.CursorX = at->x;
        state_.CursorY = at->y;
      }
      state_.CommandState = kCommandLeftClick;
      CarryOut(kCommandLeftClick);
      return;
    }
    // While the cursor walks, no other code has an effect.
  } else if (state_.KeyboardOn && code == kStandKeyboard.code) {
    site_.ToggleKeyboard();
  } else {
    CarryOut(Select(code));
  }
  state_.PressCode.Set("");
  state_.MoverEvent->Set();
}

void Executor::CheckJoyToKey() {
  state_.JoyToKeyWindow = kNoWindow;
  search_.EnumerateAll();
  if (state_.JoyToKeyWindow != kNoWindow) return;
  time_over_timer_.SetEnabled(false);
  site_.ClearJoyToKeyUse();
  site_.RestoreApplication();
  platform_.Sleep(kJoyToKeyWarningPauseMs);
  // The box has no owner; the program's window comes forward with it, so the
  // person sees what the warning is about.
  site_.BringForward();
  MessageBoxArgs warning;
  warning.text = kJoyToKeyGoneText;
  warning.caption = kErrorCaption;
  warning.icon = MessageBoxIcon::kWarning;
  warning_open_ = true;
  struct Closed {
    bool& open;
    ~Closed() { open = false; }
  } closed{warning_open_};
  platform_.ShowMessageBox(warning);
}

// The walk stops on the element ahead, as the stop code stops it (a drag
// ends there). With none ahead, or no answer in
// time, a beep, and the walk goes on.
bool Executor::Hop() {
  // Where the cursor is now: the walk's last step may not be read back yet.
  const Point from =
      platform_.CursorPos().value_or(Point{state_.CursorX, state_.CursorY});
  const StepVector unit = StepFor(state_.Direction, state_.DirectionCount);
  const Rect screen{state_.ScreenLeft, state_.ScreenTop, state_.ScreenRight,
                    state_.ScreenBottom};
  const std::optional<std::vector<ElementBox>> elements =
      FindElements(platform_, AheadArea(from, unit, screen));
  if (site_.ProgramClosed()) return true;  // closed while it looked
  const std::optional<Point> to =
      elements ? HopTarget(*elements, from, unit) : std::nullopt;
  if (!to) {
    platform_.Beep();
    return false;
  }
  // No step of the walk may follow the cursor's move, nor edge turning
  // start it again where the hop landed.
  state_.Direction = 0;
  site_.StopMoverThread();
  platform_.SetCursorPos(*to);
  state_.CursorX = to->x;
  state_.CursorY = to->y;
  StopWalk();
  return true;
}

// The walk ends and a held button is let go where the cursor stands. The
// direction goes first: the mover, let go by the event, reads it again.
void Executor::StopWalk() {
  state_.Direction = 0;
  state_.Moving = false;
  state_.PressCode.Set("");
  if (state_.ButtonHeld) {
    Mouse(kMouseLeftUp);
    state_.ButtonHeld = false;
  }
  state_.MoverEvent->Set();
}

void Executor::Steer(const std::string& code) {
  ApplySpeedPosition(state_);
  state_.MoverEvent->Set();
  if (code == kSteerTurn.code) state_.Direction = state_.Direction + 1;
  if (code == kSteerTurnTwice.code) {
    if (state_.Braking) {
      state_.BrakeReleased = true;  // pass the element under the cursor
    } else {
      state_.Direction = state_.Direction + 2;
      state_.BrakeReleased = false;
    }
  }
  if (code == kSteerBoost.code && state_.BoostAllowed) {
    if (state_.SpeedBoost) {
      ApplySpeedPosition(state_);
      state_.SpeedFactor = 1;
      state_.SpeedBoost = false;
    } else {
      state_.SpeedFactor = kBoostFactor;
      state_.SpeedBoost = true;
    }
  }
  state_.MoverEvent->Set();
  const int32_t count = state_.DirectionCount;
  if (state_.Direction > count) state_.Direction = state_.Direction - count;
  if (state_.Direction > 0 && !site_.HasMoverThread()) {
    site_.StartMoverThread();
  }
  if (state_.Direction <= 0 && site_.HasMoverThread()) site_.StopMoverThread();
}

int32_t Executor::Select(const std::string& code) {
  const MouseCode* entry = FindMouseCode(code);
  if (entry == nullptr) return kCommandNone;
  switch (entry->at_once) {
    case AtOnce::kMouseSoftware:
      mouse_software_.SendSequence();
      return kCommandNone;
    case AtOnce::kHelp:
      site_.OpenHelp();
      return kCommandNone;
    case AtOnce::kNo:
      break;
  }
  state_.CommandState = entry->command;
  return entry->command;
}

void Executor::CarryOut(int32_t command) {
  switch (command) {
    case kCommandClose:
      PostToForeground(kScClose, false);
      break;
    case kCommandLeftClick:
      Mouse(kMouseLeftDown);
      Mouse(kMouseLeftUp);
      break;
    case kCommandRightClick:
      Mouse(kMouseRightDown);
      Mouse(kMouseRightUp);
      break;
    case kCommandDoubleClick:
      for (int i = 0; i < 2; ++i) {
        Mouse(kMouseLeftDown);
        Mouse(kMouseLeftUp);
      }
      break;
    case kCommandLeftHold:
      Mouse(kMouseLeftDown);
      state_.ButtonHeld = true;
      break;
    case kCommandMiddleClick:
      Mouse(kMouseMiddleDown);
      Mouse(kMouseMiddleUp);
      break;
    case kCommandShiftClick:
      ClickWith(kVkShift);
      break;
    case kCommandCtrlClick:
      ClickWith(kVkControl);
      break;
    case kCommandMinimise:
      PostToForeground(kScMinimize, true);
      break;
    case kCommandRestore:
      platform_.PostToWindow(state_.MinimisedWindow, kWmSysCommand, kScRestore,
                             0);
      break;
    case kCommandMaximise:
      PostToForeground(kScMaximize, true);
      break;
    case kCommandCornerGrab:
      CornerGrab();
      break;
    case kCommandRestoreSelf:
      site_.RestoreApplication();
      break;
    default:
      break;
  }
}

// The left button goes down at the foreground window's inner bottom-right
// corner, so that the next walk drags that corner.
void Executor::CornerGrab() {
  search_.EnumerateAll();
  platform_.SetCursorPos({state_.CornerX, state_.CornerY});
  Mouse(kMouseLeftDown);
  state_.ButtonHeld = true;
}

void Executor::Mouse(uint32_t flags) {
  platform_.MouseButton(flags, {state_.CursorX, state_.CursorY});
}

void Executor::ClickWith(uint8_t modifier) {
  platform_.KeyEvent(modifier, false);
  Mouse(kMouseLeftDown);
  Mouse(kMouseLeftUp);
  platform_.KeyEvent(modifier, true);
}

void Executor::PostToForeground(uint32_t command, bool remember) {
  const WindowHandle foreground = platform_.ForegroundWindow();
  if (remember) state_.MinimisedWindow = foreground;
  platform_.PostToWindow(foreground, kWmSysCommand, command, 0);
}

}  // namespace hopla
