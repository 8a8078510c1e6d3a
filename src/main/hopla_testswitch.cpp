// Entry of Hopla-testswitch.exe: the switch is the shared-memory byte
// Local\HoplaTestSwitch, so that a test driver can press it.
#include "app/entry.h"
#include "platform/win32/program_main.h"

int main() {
  return hopla::win32::RunProgram(
      hopla::win32::SwitchSourceKind::kSharedMemory,
      [](hopla::Platform& platform) { return hopla::RunHopla(platform); });
}
