#include "in_process_hopla.h"

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/entry.h"
#include "hopla_program.h"
#include "platform/win32/win32_platform.h"

namespace hopla::wine_test {
namespace {
constexpr int kStartTimeoutMs = 20000;
constexpr int kQuitTimeoutMs = 10000;
}  // namespace

InProcessHopla::InProcessHopla(const std::string& settings_utf8, Wrap wrap,
                               win32::SwitchSourceKind switch_kind) {
  if (!settings_utf8.empty()) {
    std::ofstream{std::filesystem::path(folder_.path() + L"\\Hoplar.ini"),
                  std::ios::binary}
        << SettingsFileBytes(settings_utf8);
  }
  GetCurrentDirectoryW(MAX_PATH, old_dir_);
  SetCurrentDirectoryW(folder_.path().c_str());
  thread_ = std::thread([this, switch_kind, wrap = std::move(wrap)] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      win32::Win32Platform real(switch_kind);
      EntryHooks hooks;
      hooks.on_main_window = [this](THopla& window) { window_ = &window; };
      const auto run = [&hooks](Platform& platform) {
        RunHopla(platform, hooks);
      };
      if (wrap) {
        wrap(real, run);
      } else {
        run(real);
      }
    }
    CoUninitialize();
    ended_ = true;
  });
}

InProcessHopla::~InProcessHopla() {
  if (!ended_ && window_ != nullptr) Quit();
  if (!ended_) {
    std::printf("the program did not end; giving up\n");
    std::fflush(stdout);
    std::_Exit(2);
  }
  thread_.join();
  SetCurrentDirectoryW(old_dir_);
}

bool InProcessHopla::WaitShown() {
  return WaitUntil(
      [this] { return window_ != nullptr && IsWindowVisible(Hwnd()) != FALSE; },
      kStartTimeoutMs);
}

HWND InProcessHopla::Hwnd() const {
  return reinterpret_cast<HWND>(window_.load()->Handle());
}

bool InProcessHopla::Quit() {
  PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
  const HWND question =
      FindMessageBox(L"警告", kQuitTimeoutMs, GetCurrentProcessId());
  if (question == nullptr) return false;
  PressMessageBoxButton(question, IDOK);
  return WaitUntil([this] { return ended_.load(); }, kQuitTimeoutMs);
}

}  // namespace hopla::wine_test
