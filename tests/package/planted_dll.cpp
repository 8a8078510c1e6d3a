// A stand-in for a DLL that someone left in a Downloads folder: built as
// winmm.dll and as oleacc.dll, it leaves "<its own path>.loaded" beside
// itself in every process that loads it, so a test can tell who took it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" {
// What the canary program imports, so that the loader can bind it to this
// file instead of the system's; never called for real.
__declspec(dllexport) DWORD WINAPI timeGetTime() { return 0; }
__declspec(dllexport) void WINAPI
    GetOleaccVersionInfo(DWORD* version, DWORD* build) {
  *version = 0;
  *build = 0;
}
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  constexpr wchar_t kSuffix[] = L".loaded";
  wchar_t path[MAX_PATH + sizeof(kSuffix) / sizeof(wchar_t)];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcpyW(path + length, kSuffix);
  const HANDLE marker =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}
