// Runs the whole program on a simulated desktop, so that a test reads like a
// person using it: "hold 600 ms, release, wait 1 s".
#ifndef HOPLA_TESTS_HOPLA_FIXTURE_H_
#define HOPLA_TESTS_HOPLA_FIXTURE_H_

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "app/entry.h"
#include "app/hopla.h"
#include "platform/codepage.h"
#include "platform/sim/sim_desktop.h"
#include "settings/ini_file.h"
#include "settings/ini_rules.h"

namespace hopla {

inline constexpr char kHoplaPath[] = "C:\\Program Files\\Hopla\\Hopla.exe";

inline std::string Sjis(const std::string& utf8) { return *Utf8ToCp932(utf8); }

// A key's value in the settings file as it stands now (UTF-8), or nothing.
inline std::optional<std::string> StoredValue(const sim::SimDesktop& desk,
                                              const std::string& section,
                                              const std::string& key) {
  const auto file = desk.File(kSettingsFile);
  if (!file) return std::nullopt;
  const auto value = ini::ReadValue(*file, Sjis(section), Sjis(key));
  if (!value) return std::nullopt;
  return Cp932ToUtf8(*value);
}

// The settings window while the program starts (before Start returns): the
// window titled with the window's caption, not the taskbar's.
inline WindowHandle SettingsWindowOf(const sim::SimDesktop& desk) {
  for (const WindowInfo& info : desk.Windows()) {
    if (info.title.rfind(kWindowCaption, 0) == 0 &&
        info.title.rfind(kApplicationTitle, 0) != 0) {
      return info.handle;
    }
  }
  return kNoWindow;
}

class HoplaTest : public ::testing::Test {
 protected:
  // Starts the program and runs until its main window exists.
  sim::SimProcess& Start(const std::string& exe_path = kHoplaPath,
                         std::vector<std::string> arguments = {}) {
    hopla_ = nullptr;
    sim::SimProcess& process = desk_.Launch(
        exe_path,
        [this](Platform& platform) {
          EntryHooks hooks;
          hooks.on_main_window = [this](THopla& window) { hopla_ = &window; };
          return RunHopla(platform, hooks);
        },
        std::move(arguments));
    // Creation may wait for JoyToKey's start and pause a second.
    EXPECT_TRUE(desk_.RunUntil([this] { return hopla_ != nullptr; }, 20000));
    process_ = &process;
    return process;
  }

  // Does `action` on the program's UI thread now, as a person would.
  void Do(const std::function<void()>& action) {
    process_->At(desk_.Now(), action);
    desk_.RunFor(0);
  }

  // Presses the switch `after_ms` from now, for `length_ms`; returns the
  // release time.
  int64_t Press(int64_t after_ms, int64_t length_ms) {
    const int64_t down = desk_.Now() + after_ms;
    desk_.HoldSwitch(down, down + length_ms);
    return down + length_ms;
  }

  // Enters a code with the switch from `after_ms` on: "0" a short press of
  // 100 ms, "1" a long one of 500 ms, 200 ms apart. Returns the last release.
  int64_t Enter(const std::string& marks, int64_t after_ms = 100) {
    int64_t at = desk_.Now() + after_ms;
    int64_t release = at;
    for (char mark : marks) {
      release = at + (mark == '1' ? 500 : 100);
      desk_.HoldSwitch(at, release);
      at = release + 200;
    }
    return release;
  }

  // JoyToKey's program in a folder of drive C:, and, when `running`, its
  // window. Returns the window.
  WindowHandle InstallJoyToKey(bool running = true,
                               const std::string& folder = "C:\\JoyToKey\\") {
    desk_.AddTreeFile(folder + "JoyToKey.exe");
    if (!running) return kNoWindow;
    return desk_.AddWindow({"JoyToKey 6.9", {}, nullptr, false});
  }

  // Ticks "use JoyToKey" as the person does, and lets its handler finish
  // (its search, its start, its one-second pause).
  void TickJoyToKey() {
    Do([this] { hopla_->JtkUseCheckBox.SetChecked(true); });
    desk_.RunFor(1100);
  }

  // The entries of these kinds, "kind text", in the order they happened.
  std::vector<std::string> EventsOf(
      std::initializer_list<std::string_view> kinds) const {
    std::vector<std::string> events;
    for (const auto& entry : desk_.Trace()) {
      for (std::string_view kind : kinds) {
        if (entry.kind == kind) events.push_back(entry.kind + " " + entry.text);
      }
    }
    return events;
  }

  std::vector<int64_t> SoundTimes(const std::string& file_name) const {
    std::vector<int64_t> times;
    for (const auto& entry : desk_.TraceOf("sound")) {
      if (entry.text == file_name) times.push_back(entry.time_ms);
    }
    return times;
  }

  EngineState& State() { return hopla_->State(); }
  // The window that carries the taskbar button.
  WindowHandle AppWindow() const {
    return desk_.FindWindowByTitle(kApplicationTitle);
  }

  sim::SimDesktop desk_;
  sim::SimProcess* process_ = nullptr;
  THopla* hopla_ = nullptr;
};

}  // namespace hopla

#endif  // HOPLA_TESTS_HOPLA_FIXTURE_H_
