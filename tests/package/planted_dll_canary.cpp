// Imports winmm and oleacc the ordinary way, which Hopla must not do.
// Started from a folder with planted copies, it shows that the loader takes
// them there, so that a test finding no planted DLL in Hopla proves
// something.
#include <windows.h>
// After windows.h.
#include <mmsystem.h>
#include <oleacc.h>

int main() {
  DWORD version = 0;
  DWORD build = 0;
  GetOleaccVersionInfo(&version, &build);
  timeGetTime();
  return 0;
}
