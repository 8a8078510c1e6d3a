// One execution of the press code, when the quiet time after the last press
// has run out (and again every quiet time while no press comes): it checks
// that JoyToKey is still there when its use is ticked, then types a key in
// key input mode, or steers the walk and, while the cursor stands, carries
// out the command of the code.
#ifndef HOPLA_ENGINE_EXECUTOR_H_
#define HOPLA_ENGINE_EXECUTOR_H_

#include <cstdint>
#include <string>

#include "engine/key_input.h"
#include "engine/mouse_software.h"
#include "engine/window_search.h"
#include "platform/platform.h"
#include "shared/engine_state.h"
#include "toolkit/timer.h"

namespace hopla {

// What an execution needs of the main window.
class ExecutorSite {
 public:
  virtual ~ExecutorSite() = default;
  // The window that carries the taskbar button.
  virtual WindowHandle ApplicationWindow() const = 0;
  // Unticks JtkUseCheckBox; its click handler runs.
  virtual void ClearJoyToKeyUse() = 0;
  // Brings the minimised program back (the restore event follows).
  virtual void RestoreApplication() = 0;
  // Brings the program's window to the front.
  virtual void BringForward() = 0;
  // Whether a mover thread was ever started (the reference is kept).
  virtual bool HasMoverThread() const = 0;
  virtual void StartMoverThread() = 0;
  virtual void StopMoverThread() = 0;
  virtual void OpenHelp() = 0;  // HelpButtonClick
  // Opens Hopla's keyboard, or closes it when it is open.
  virtual void ToggleKeyboard() {}
  // A search for JoyToKey or its start is going on: the execution waits.
  virtual bool JoyToKeyBusy() const = 0;
  // A box about JoyToKey is open that ends with its use cleared: no
  // presence check meanwhile (the codes run, so the switch can close it).
  virtual bool JoyToKeyAnnouncing() const = 0;
  // The window has been closed (in a box or a wait of this execution): the
  // execution does nothing more.
  virtual bool ProgramClosed() const = 0;
};

inline constexpr int32_t kJoyToKeyWarningPauseMs = 500;

class Executor {
 public:
  Executor(Platform& platform, EngineState& state, Timer& time_over_timer,
           ExecutorSite& site, WindowSearch& search, KeyInput& key_input)
      : platform_(platform),
        state_(state),
        time_over_timer_(time_over_timer),
        site_(site),
        search_(search),
        mouse_software_(platform, state, search),
        key_input_(key_input) {}

  // One execution.
  void Execute();

 private:
  // Before a code runs: warns and clears the box when JoyToKey's window has
  // gone.
  void CheckJoyToKey();
  // The walking codes: direction, brake release, boost, the mover thread.
  void Steer(const std::string& code);
  // Code "01" while walking, with the hop on: whether it hopped.
  bool Hop();
  // Code "1" while walking, and the end of a hop.
  void StopWalk();
  // The command the code selects (a standing code may run at once).
  int32_t Select(const std::string& code);
  // Runs the command selected: a click, a hold, a window command, the corner
  // grab.
  void CarryOut(int32_t command);
  void CornerGrab();
  void Mouse(uint32_t flags);
  void ClickWith(uint8_t modifier);
  void PostToForeground(uint32_t command, bool remember);

  Platform& platform_;
  EngineState& state_;
  Timer& time_over_timer_;
  ExecutorSite& site_;
  WindowSearch& search_;
  MouseSoftware mouse_software_;
  KeyInput& key_input_;
  // Executions go on inside JoyToKey's warning box; none of them opens a
  // second one over it.
  bool warning_open_ = false;
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_EXECUTOR_H_
