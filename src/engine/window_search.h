// The window enumeration callback that three searches share: the corner of
// the foreground window for the corner grab (while CommandState is 13), the
// windows of the mouse software by title, and JoyToKey's window (while its
// use is ticked). Every search visits all top-level windows, so the last
// match in the system's order is the one kept.
#ifndef HOPLA_ENGINE_WINDOW_SEARCH_H_
#define HOPLA_ENGINE_WINDOW_SEARCH_H_

#include "platform/platform.h"
#include "shared/engine_state.h"
#include "shared/window_search.h"

namespace hopla {

// The companion joystick-mouse program's property window.
inline constexpr char kPadWindowTitle[] = "ムニパッド のプロパティ";

class TopLevelWindowSearch final : public WindowSearch {
 public:
  TopLevelWindowSearch(Platform& platform, EngineState& state)
      : platform_(platform), state_(state) {}

  void EnumerateAll() override;

 private:
  bool Visit(const WindowInfo& window);
  void CornerWork();

  Platform& platform_;
  EngineState& state_;
  // The foreground window's rectangle as last read: used again when there
  // is no foreground window.
  Rect corner_rect_;
  // One beep per search, not one per window visited.
  bool beeped_ = false;
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_WINDOW_SEARCH_H_
