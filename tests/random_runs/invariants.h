// What must hold after every random run, whatever the person and the PC did:
// the program ended and left nothing running or held, the settings file
// lost nothing, no box opened after the close, and the window never went
// deaf. Checked on what the run recorded, not on the program's own state.
#ifndef HOPLA_TESTS_RANDOM_RUNS_INVARIANTS_H_
#define HOPLA_TESTS_RANDOM_RUNS_INVARIANTS_H_

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"

namespace hopla::random_runs {

// A stored setting, as "section/key" (UTF-8).
using SettingName = std::string;

// The longest the UI thread may answer no sent message, beyond the waits
// the program's rules prescribe.
inline constexpr int64_t kLongestSilenceMs = 250;

struct RunRecord {
  // The settings file's bytes before and after the run (nothing: absent).
  std::optional<std::string> file_before;
  std::optional<std::string> file_after;
  // The file refused every write, or could not be read, all run long.
  bool file_untouchable = false;
  // Every value the person gave a setting with a click on its control, as
  // the program reads it from the file ("1", "150", ...).
  std::map<SettingName, std::set<std::string>> person_set;
  // The folders (ending in a backslash) that held JoyToKey.exe.
  std::set<std::string> joytokey_folders;
  // Whether the program ended: by itself (exit) or ended by the system.
  bool exited = false;
  bool terminated = false;
  int32_t threads_left = 0;
  int32_t windows_left = 0;
  // A thread of the program may wait for ever: a listing of a dead share,
  // a window that hangs while the hop or the brake asks it.
  bool threads_may_stay = false;
  sim::SimProcess::Silence silence;
  std::vector<std::string> held_input;
  // JoyToKey windows that the program started and that still ran after it
  // ended normally, not counting one that hung (it cannot quit).
  int32_t joytokey_left = 0;
  std::vector<sim::TraceEntry> trace;
};

// Each invariant that did not hold, said in a line.
std::vector<std::string> CheckRun(const RunRecord& record);

// What the program reads for `name` from `file` (absent: nothing), in the
// form the file holds it: sliders clamped, booleans 0 or 1, values out of
// range as their default.
std::string StoredMeaning(const std::optional<std::string>& file,
                          const SettingName& name);
// Every setting the program stores.
std::vector<SettingName> StoredSettings();

}  // namespace hopla::random_runs

#endif  // HOPLA_TESTS_RANDOM_RUNS_INVARIANTS_H_
