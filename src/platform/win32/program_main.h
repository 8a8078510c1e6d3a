// What the two programs' entries share: COM on the UI thread, the platform
// with the chosen switch, and the program handed in (the entries live above
// every layer, so the platform never includes the program).
#ifndef HOPLA_PLATFORM_WIN32_PROGRAM_MAIN_H_
#define HOPLA_PLATFORM_WIN32_PROGRAM_MAIN_H_

#include "platform/platform.h"
#include "platform/win32/switch_source.h"

namespace hopla::win32 {

// Runs `program` on the calling thread over a Win32 platform with the chosen
// switch and returns its exit code.
int RunProgram(SwitchSourceKind switch_source, int (*program)(Platform&));

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_PROGRAM_MAIN_H_
