#include "engine/window_search.h"

#include "engine/command_table.h"
#include "engine/mouse_software.h"
#include "shared/joytokey_interface.h"

namespace hopla {

void TopLevelWindowSearch::EnumerateAll() {
  beeped_ = false;
  platform_.EnumTopLevelWindows(
      [this](const WindowInfo& window) { return Visit(window); });
}

bool TopLevelWindowSearch::Visit(const WindowInfo& window) {
  if (state_.CommandState == kCommandCornerGrab) {
    CornerWork();
    return true;
  }
  const char* wanted = state_.LogitechSearch ? kMouseSoftwareExecutiveTitle
                                             : kMouseSoftwareHookTitle;
  if (window.title == wanted) state_.LogitechWindow = window.handle;
  if (state_.JoyToKeyUsed && window.title.starts_with(kJoyToKeyTitlePrefix)) {
    state_.JoyToKeyWindow = window.handle;
  }
  return true;
}

// The work concerns the foreground window, whichever window is visited.
void TopLevelWindowSearch::CornerWork() {
  const WindowHandle foreground = platform_.ForegroundWindow();
  if (foreground != kNoWindow) {
    if (const auto rect = platform_.WindowRect(foreground))
      corner_rect_ = *rect;
  }
  state_.CornerX = corner_rect_.right - 1;
  state_.CornerY = corner_rect_.bottom - 1;
  if (const auto cursor = platform_.CursorPos()) {
    state_.CursorX = cursor->x;
    state_.CursorY = cursor->y;
  }
  if (foreground != kNoWindow &&
      platform_.WindowTitle(foreground) == kPadWindowTitle) {
    state_.PadWindow = foreground;
  }
  if (state_.PadWindow == kNoWindow && !beeped_) {
    beeped_ = true;
    platform_.Beep();
  }
}

}  // namespace hopla
