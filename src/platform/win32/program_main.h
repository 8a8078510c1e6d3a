// What the two programs' wWinMain share: COM on the UI thread, the platform
// with the chosen switch, and the program itself.
#ifndef HOPLA_PLATFORM_WIN32_PROGRAM_MAIN_H_
#define HOPLA_PLATFORM_WIN32_PROGRAM_MAIN_H_

#include "platform/win32/switch_source.h"

namespace hopla::win32 {

// Runs Hopla on the calling thread and returns its exit code.
int RunProgram(SwitchSourceKind switch_source);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_PROGRAM_MAIN_H_
