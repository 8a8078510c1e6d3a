// Where a control lies in its parent's stack, and the order Tab visits the
// controls in. The two are kept apart: frames lie below every other control
// (so that controls placed over a frame without being its children stay
// visible and clickable), while Tab follows the order of creation, which is
// the order the toolkit makes the controls in.
#ifndef HOPLA_PLATFORM_WIN32_CONTROL_ORDER_H_
#define HOPLA_PLATFORM_WIN32_CONTROL_ORDER_H_

#include "platform/win32/win32_include.h"

namespace hopla::win32 {

// Control ids number the controls of a form in order of creation; below
// this are the ids the dialog keys send (IDOK, IDCANCEL, ...).
inline constexpr int kFirstControlId = 100;

// Puts a new control in its place: a frame at the bottom, any other control
// below the controls made before it but above every frame.
void PlaceInStack(HWND control);

// The control that Tab (or Shift+Tab when `backwards`) moves the focus to
// from `focus`, among the visible, enabled tab stops of the form `root`;
// null when there is none.
HWND NextTabStop(HWND root, HWND focus, bool backwards);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_CONTROL_ORDER_H_
