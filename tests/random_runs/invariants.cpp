#include "random_runs/invariants.h"

#include <algorithm>

#include "joytokey/joytokey.h"
#include "platform/codepage.h"
#include "settings/extended_settings.h"
#include "settings/ini_rules.h"
#include "settings/setting_rows.h"
#include "shared/joytokey_interface.h"

namespace hopla::random_runs {
namespace {

constexpr char kQuitQuestion[] = "警告|｢ホプラー。」を終了しますか？";
constexpr char kSaveRefused[] = "に書き込めません";

std::optional<std::string> Raw(const std::optional<std::string>& file,
                               const std::string& section,
                               const std::string& key) {
  if (!file) return std::nullopt;
  return ini::ReadValue(*file, *Utf8ToCp932(section), *Utf8ToCp932(key));
}

int32_t Integer(const std::optional<std::string>& file,
                const std::string& section, const std::string& key,
                int32_t fallback) {
  const auto raw = Raw(file, section, key);
  return raw ? ini::ParseInteger(*raw).value_or(fallback) : fallback;
}

std::string Meaning(const std::optional<std::string>& file,
                    const SettingRow& row) {
  const int32_t fallback = row.kind == SettingKind::kExtended
                               ? row.get(ExtendedSettings{})
                               : row.fallback;
  const int32_t value = Integer(file, row.section, row.key, fallback);
  switch (row.kind) {
    case SettingKind::kSlider:
      return std::to_string(std::clamp(value, 1, 8));
    case SettingKind::kCheckBox:
      return value != 0 ? "1" : "0";
    case SettingKind::kFolder:
      return Cp932ToUtf8(Raw(file, row.section, row.key).value_or(""));
    case SettingKind::kStrength:
      return std::to_string(value);
    case SettingKind::kExtended:
      return std::to_string(value >= row.min && value <= row.max ? value
                                                                 : fallback);
    case SettingKind::kControl:
      break;
  }
  return {};
}

bool IsJoyToKeyFailure(const std::string& box) {
  return box.find(kNotInstalledText) != std::string::npos ||
         box.find(kJoyToKeyGoneText) != std::string::npos;
}

// The settings: each key holds what it held, what the person set, or what
// the program's rules change (JoyToKey's use cleared with its box, the
// folder it found).
void CheckSettings(const RunRecord& record,
                   std::vector<std::string>& failures) {
  if (record.file_untouchable && record.file_after != record.file_before) {
    failures.push_back("the file that refused every write has changed");
  }
  bool joytokey_failed = false;
  for (const auto& entry : record.trace) {
    joytokey_failed = joytokey_failed ||
                      (entry.kind == "msgbox" && IsJoyToKeyFailure(entry.text));
  }
  for (const SettingName& name : StoredSettings()) {
    const std::string before = StoredMeaning(record.file_before, name);
    const std::string after = StoredMeaning(record.file_after, name);
    std::set<std::string> allowed = {before};
    if (const auto set = record.person_set.find(name);
        set != record.person_set.end()) {
      allowed.insert(set->second.begin(), set->second.end());
    }
    if (name == "UseJoyToKey/JoyToKeyの利用" && joytokey_failed) {
      allowed.insert("0");
    }
    if (name == "UseJoyToKey/所在フォルダー") {
      allowed.insert(record.joytokey_folders.begin(),
                     record.joytokey_folders.end());
    }
    if (allowed.count(after) == 0) {
      std::string text = name + " was " + before + ", is " + after;
      if (allowed.size() > 1) text += " (the person or the rules: others)";
      failures.push_back(text);
    }
  }
}

// After the close (the quit question answered OK) only the box that says a
// save was refused may open, once, and nothing is started. Boxes nest: each
// answer is the newest open box's.
void CheckAfterClose(const RunRecord& record,
                     std::vector<std::string>& failures) {
  std::vector<std::string> open;
  bool closed = false;
  int refused = 0;
  for (const auto& entry : record.trace) {
    if (!closed) {
      if (entry.kind == "msgbox") open.push_back(entry.text);
      if (entry.kind == "msgbox-answer" && !open.empty()) {
        closed = open.back() == kQuitQuestion && entry.text == "ok";
        open.pop_back();
      }
      continue;
    }
    const std::string at = " at " + std::to_string(entry.time_ms) + " ms: ";
    if (entry.kind == "msgbox") {
      const bool save = entry.text.find(kSaveRefused) != std::string::npos;
      if (!save || ++refused > 1) {
        failures.push_back("a box opened after the close" + at + entry.text);
      }
    }
    if (entry.kind == "start") {
      failures.push_back("started after the close" + at + entry.text);
    }
  }
}

// While a carer's pause lasts the program moves nothing and types nothing:
// the person at the switch may not even be there.
void CheckPause(const RunRecord& record, std::vector<std::string>& failures) {
  bool paused = false;
  for (const auto& entry : record.trace) {
    if (entry.kind == "switch") paused = entry.text == "let through";
    if (paused && (entry.kind == "mouse" || entry.kind == "key" ||
                   entry.kind == "type" || entry.kind == "cursor")) {
      failures.push_back("during a pause at " + std::to_string(entry.time_ms) +
                         " ms: " + entry.kind + " " + entry.text);
    }
  }
}

}  // namespace

std::vector<SettingName> StoredSettings() {
  std::vector<SettingName> names;
  for (const SettingRow& row : SettingRows()) {
    if (row.kind != SettingKind::kControl) {
      names.push_back(std::string(row.section) + "/" + row.key);
    }
  }
  return names;
}

std::string StoredMeaning(const std::optional<std::string>& file,
                          const SettingName& name) {
  for (const SettingRow& row : SettingRows()) {
    if (row.kind != SettingKind::kControl &&
        name == std::string(row.section) + "/" + row.key) {
      return Meaning(file, row);
    }
  }
  return {};
}

std::vector<std::string> CheckRun(const RunRecord& record) {
  std::vector<std::string> failures;
  if (!record.exited && !record.terminated) {
    failures.push_back("the program did not end");
  }
  for (const auto& entry : record.trace) {
    if (entry.kind == "crash") failures.push_back("crashed: " + entry.text);
    if (entry.kind == "start" && entry.text.rfind("|", 0) == 0) {
      failures.push_back("started JoyToKey from no folder at " +
                         std::to_string(entry.time_ms) + " ms");
    }
  }
  if (record.exited && record.threads_left > 0 && !record.threads_may_stay) {
    failures.push_back(std::to_string(record.threads_left) +
                       " thread(s) still ran when the program ended");
  }
  if (record.exited && record.windows_left > 0) {
    failures.push_back(std::to_string(record.windows_left) +
                       " window(s) left when the program ended");
  }
  for (const std::string& held : record.held_input) {
    failures.push_back("left held: " + held);
  }
  if (record.joytokey_left > 0) {
    failures.push_back("JoyToKey, started by the program, still runs");
  }
  if (record.silence.ms > kLongestSilenceMs) {
    failures.push_back("answered nothing for " +
                       std::to_string(record.silence.ms) + " ms, until " +
                       std::to_string(record.silence.ended_at_ms) + " ms");
  }
  CheckSettings(record, failures);
  CheckAfterClose(record, failures);
  CheckPause(record, failures);
  return failures;
}

}  // namespace hopla::random_runs
