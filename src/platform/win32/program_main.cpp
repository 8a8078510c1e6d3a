#include "platform/win32/program_main.h"

#include <exception>
#include <memory>
#include <string>

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"
#include "platform/win32/win32_platform.h"
// After windows.h: COM start-up for the UI thread.
#include <objbase.h>

namespace hopla::win32 {
namespace {

// The program always ends with 0, also after an error it has reported.
constexpr int kExitCode = 0;

class ComApartment {
 public:
  ComApartment()
      : initialised_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

void ReportFatal(const std::string& what) {
  MessageBoxW(nullptr, Utf8ToWide(what).c_str(), L"Hopla",
              MB_OK | MB_ICONERROR | MB_TOPMOST);
}

}  // namespace

int RunProgram(SwitchSourceKind switch_source, int (*program)(Platform&)) {
  ComApartment com;
  // The program reports its own errors; this only keeps one that escaped
  // from ending the process without a word.
  try {
    auto platform = std::make_unique<Win32Platform>(switch_source);
    const int code = program(*platform);
    // A thread that could not end in time (a listing of a dead network
    // share) still uses the platform: it stays, and the process's exit
    // ends that thread.
    if (platform->ThreadsRunning() > 0) static_cast<void>(platform.release());
    return code;
  } catch (const std::exception& e) {
    ReportFatal(e.what());
  } catch (...) {
    ReportFatal("unknown error");
  }
  return kExitCode;
}

}  // namespace hopla::win32
