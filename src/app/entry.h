// The program's entry, written against the platform seam so that the same
// start-up runs on Windows and on the simulated desktop.
#ifndef HOPLA_APP_ENTRY_H_
#define HOPLA_APP_ENTRY_H_

#include <functional>

#include "platform/platform.h"

namespace hopla {

class THopla;

struct EntryHooks {
  // Called once the main window exists, before the message loop runs; tests
  // use it to reach the window's state.
  std::function<void(THopla&)> on_main_window;
};

// Runs the whole program on the calling thread; returns the exit code (0).
int RunHopla(Platform& platform, const EntryHooks& hooks = {});

}  // namespace hopla

#endif  // HOPLA_APP_ENTRY_H_
