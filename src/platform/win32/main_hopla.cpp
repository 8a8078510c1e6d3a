// Entry of Hopla.exe: the switch is button 1 of the first joystick.
#include "platform/win32/program_main.h"
#include "platform/win32/win32_include.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*command_line*/, int /*show*/) {
  return hopla::win32::RunProgram(hopla::win32::SwitchSourceKind::kJoystick);
}
