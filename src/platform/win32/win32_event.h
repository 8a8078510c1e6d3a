// Kernel events and threads behind the platform's Event and StartThread.
#ifndef HOPLA_PLATFORM_WIN32_WIN32_EVENT_H_
#define HOPLA_PLATFORM_WIN32_WIN32_EVENT_H_

#include <functional>
#include <memory>

#include "platform/platform.h"

namespace hopla::win32 {

// An unnamed auto-reset kernel event. Throws std::system_error when the
// system has no event left to give.
std::unique_ptr<Event> MakeAutoResetEvent(bool initially_set);

// Runs `body` on a new detached thread. An exception escaping `body` ends
// only that thread, not the process.
void StartDetachedThread(std::function<void()> body);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_WIN32_EVENT_H_
