// Loading the controls from the settings file and saving them back, row by
// row; the handlers the rows bind.
#include "settings/ini_file.h"
#include "settings/setting_rows.h"
#include "settings/settings_window.h"

namespace hopla {

void SettingsWindow::LoadSettings() {
  IniFile ini(app().platform(), kSettingsFile);
  for (const SettingRow& row : SettingRows()) {
    switch (row.kind) {
      case SettingKind::kSlider:
        static_cast<TrackBar&>(row.control(*this))
            .SetPosition(ini.ReadInteger(row.section, row.key, row.fallback));
        break;
      case SettingKind::kCheckBox: {
        auto& box = static_cast<CheckBox&>(row.control(*this));
        const bool fallback =
            row.brake_kind != nullptr ? box.Checked() : row.fallback != 0;
        box.SetChecked(ini.ReadBool(row.section, row.key, fallback));
        break;
      }
      case SettingKind::kFolder:
        Path_JoyToKey.SetText(ini.ReadString(row.section, row.key, ""));
        break;
      case SettingKind::kStrength:
        LoadBrakeStrength(ini.ReadInteger(row.section, row.key, row.fallback));
        break;
      case SettingKind::kExtended:
      case SettingKind::kControl:
        break;
    }
    if (row.load_runs_handler) (this->*row.handler)(row.control(*this));
  }
  SetExtended(ReadExtendedSettings(ini));
  settings_loaded_ = true;
  // JoyToKey is looked for or started only now: a search or a start serves
  // the window for seconds or minutes, and meanwhile the switch, the timings
  // and any save must already have the values just read.
  if (JtkUseCheckBox.Checked()) LoadJoyToKey();
}

void SettingsWindow::SetExtended(const ExtendedSettings& values) {
  if (values.switch_choice != extended_.switch_choice) pressed_switch_.reset();
  UseExtended(values);
}

void SettingsWindow::TrySwitch(const ExtendedSettings& values) {
  if (!pressed_switch_) pressed_switch_ = extended_.switch_choice;
  UseExtended(values);
}

void SettingsWindow::UseExtended(const ExtendedSettings& values) {
  extended_ = values;
  for (const SettingRow& row : SettingRows()) {
    if (row.apply != nullptr) row.apply(state_, row.get(values));
  }
  app().platform().UseSwitch(extended_.switch_choice);
  if (values.pause_key != pause_key_registered_) {
    pause_key_registered_ = values.pause_key;
    pause_key_free_ =
        RegisterHotKey(kPauseHotKeyId, kPauseHotKeyModifiers, values.pause_key);
  }
}

// What ticking the box by the load does, then the folder read again and a
// look for JoyToKey's window, which is started when it is not there.

void SettingsWindow::LoadJoyToKey() {
  JtkUseCheckBoxClick(JtkUseCheckBox);
  if (Closed()) return;
  const std::string stored = ReadJoyToKeyFolderSetting();
  // A folder found just now stays known when the file would not keep it.
  if (!stored.empty() || Path_JoyToKey.Text().empty()) {
    Path_JoyToKey.SetText(stored);
  }
  if (!JtkUseCheckBox.Checked()) return;
  state_.JoyToKeyWindow = kNoWindow;
  site_.FindJoyToKeyWindow();
  if (state_.JoyToKeyWindow == kNoWindow) {
    site_.StartJoyToKey(Path_JoyToKey.Text());
  }
}

void SettingsWindow::LoadBrakeStrength(int32_t brake_delay_ms) {
  state_.BrakeDelay = brake_delay_ms;
  for (const StrengthRadio& strength : StrengthRadios()) {
    if (strength.delay_ms != brake_delay_ms) continue;
    RadioButton& radio = strength.radio(*this);
    // Checking a checked button runs nothing: "なし" is checked from the
    // start, and its handler must still enable or disable the boxes.
    if (radio.Checked()) {
      SetBrakeStrength(brake_delay_ms);
    } else {
      radio.SetChecked(true);
    }
  }
}

void SettingsWindow::SetBrakeStrength(int32_t brake_delay_ms) {
  state_.BrakeDelay = brake_delay_ms;
  state_.BrakeOn = brake_delay_ms != kBrakeNone;
  for (const SettingRow& row : SettingRows()) {
    if (row.brake_kind != nullptr) {
      row.control(*this).SetEnabled(brake_delay_ms != kBrakeNone);
    }
  }
}

std::string SettingsWindow::ReadJoyToKeyFolderSetting() {
  return IniFile(app().platform(), kSettingsFile)
      .ReadString(kJoyToKeySection, kJoyToKeyFolderKey, "");
}

void SettingsWindow::WriteJoyToKeyFolderSetting(const std::string& folder) {
  IniFileSave save(app().platform(), kSettingsFile);
  try {
    save.WriteString(kJoyToKeySection, kJoyToKeyFolderKey, folder);
    save.Commit();
  } catch (const IniWriteError&) {
    // Not reported: the folder found is kept in the window all the same.
  }
}

// The whole file is written once per save, with every key in its place.
bool SettingsWindow::SaveSettings() {
  if (!settings_loaded_) return true;  // built-in values are no settings
  IniFileSave save(app().platform(), kSettingsFile);
  try {
    try {
      WriteSettings(save);
    } catch (const IniWriteError&) {
      // The save stops at the refused key; what came before it is kept.
      save.Commit();
      throw;
    }
    save.Commit();
  } catch (const IniWriteError& error) {
    // Said while the window is there; once the close has ended the program,
    // no box: the close's own save has said it, and the switch could not
    // close it.
    if (!app().Terminated()) {  // it goes on
      app().ShowException(
          std::runtime_error(error.path() + app().Translate(kCannotWrite)));
    }
  }
  return true;
}

void SettingsWindow::WriteSettings(IniFileSave& save) {
  for (const SettingRow& row : SettingRows()) {
    switch (row.kind) {
      case SettingKind::kSlider:
        save.WriteInteger(
            row.section, row.key,
            static_cast<TrackBar&>(row.control(*this)).Position());
        break;
      case SettingKind::kCheckBox:
        save.WriteBool(row.section, row.key,
                       static_cast<CheckBox&>(row.control(*this)).Checked());
        break;
      case SettingKind::kStrength:
        save.WriteInteger(row.section, row.key, state_.BrakeDelay);
        break;
      case SettingKind::kFolder:    // written by the JoyToKey search alone
      case SettingKind::kExtended:  // below, after the version
      case SettingKind::kControl:
        break;
    }
  }
  save.WriteString(kVersionSection, kVersionKey, app().Title());
  ExtendedSettings saved = extended_;
  if (pressed_switch_) saved.switch_choice = *pressed_switch_;
  WriteExtendedSettings(save, saved);
}

}  // namespace hopla
