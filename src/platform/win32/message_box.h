// Modal message boxes.
#ifndef HOPLA_PLATFORM_WIN32_MESSAGE_BOX_H_
#define HOPLA_PLATFORM_WIN32_MESSAGE_BOX_H_

#include "platform/platform.h"

namespace hopla::win32 {

// Shows the box and returns the user's answer. Anything but OK (the box
// closed, or the box could not be shown) counts as Cancel, so a failure never
// confirms a question.
DialogResult ShowModalMessageBox(const MessageBoxArgs& desc);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_MESSAGE_BOX_H_
