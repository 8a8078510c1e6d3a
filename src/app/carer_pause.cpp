// The carer's pause: begun and ended from the system menu or the hot key,
// and ended by the switch held to the key-mode point. While it lasts a key
// or mouse button taken as the switch reaches the programs, the walk stands,
// no button stays held, no code runs, and the caption says so. It is never
// stored: the next start is not paused.
#include "app/hopla.h"
#include "engine/key_table.h"

namespace hopla {

void THopla::SetPaused(bool paused) {
  if (State().Paused == paused) return;
  if (paused) {
    StopEngine();
    TimeOverTimer.SetEnabled(false);
    // As the stop does: a mover still waiting for the code's execution
    // must find no walk when it wakes.
    State().Direction = 0;
    State().Moving = false;
    State().Braking = false;
    // A half-entered code must not run when the pause ends.
    State().PressCode.Set(State().KeyMode ? std::string(kKeyModeCode) : "");
    bubble_.Hide();
  }
  State().Paused = paused;
  app().platform().LetSwitchThrough(paused);
  SetMenuItemChecked(kPauseCommand, paused);
  ShowCaption();
  if (!paused) TimeOverTimer.SetEnabled(true);
}

void THopla::ShowCaption() {
  std::string note;
  if (searching_) note += app().Translate(kSearchingNote);
  if (State().Paused) note += app().Translate(kPausedNote);
  SetCaption(app().Translate(kWindowCaption) + note);
  app().ShowStatus(note);
}

}  // namespace hopla
