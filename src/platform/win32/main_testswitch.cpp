// Entry of Hopla-testswitch.exe: the switch is the shared-memory byte
// Local\HoplaTestSwitch, so that a test driver can press it.
#include "platform/win32/program_main.h"
#include "platform/win32/win32_include.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*command_line*/, int /*show*/) {
  return hopla::win32::RunProgram(
      hopla::win32::SwitchSourceKind::kSharedMemory);
}
