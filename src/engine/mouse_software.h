// The message sequence of code "1001" to two windows of the mouse software
// (an outside program): found by title, sent in a fixed order, the second
// half only when the software's first answer is 0.
#ifndef HOPLA_ENGINE_MOUSE_SOFTWARE_H_
#define HOPLA_ENGINE_MOUSE_SOFTWARE_H_

#include "platform/platform.h"
#include "shared/engine_state.h"
#include "shared/window_search.h"

namespace hopla {

inline constexpr char kMouseSoftwareHookTitle[] = "Logitech GetMessage Hook";
inline constexpr char kMouseSoftwareExecutiveTitle[] = "Logitech E/M Executive";

class MouseSoftware {
 public:
  MouseSoftware(Platform& platform, EngineState& state, WindowSearch& search)
      : platform_(platform), state_(state), search_(search) {}

  void SendSequence();

 private:
  // The window with that title, or none.
  WindowHandle Find(bool executive);
  std::optional<intptr_t> Send(WindowHandle window, uint32_t message,
                               uintptr_t wparam, intptr_t lparam);

  Platform& platform_;
  EngineState& state_;
  WindowSearch& search_;
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_MOUSE_SOFTWARE_H_
