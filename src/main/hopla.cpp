// Entry of Hopla.exe: the switch is button 1 of the first joystick.
#include "app/entry.h"
#include "platform/win32/program_main.h"

int main() {
  return hopla::win32::RunProgram(
      hopla::win32::SwitchSourceKind::kJoystick,
      [](hopla::Platform& platform) { return hopla::RunHopla(platform); });
}
