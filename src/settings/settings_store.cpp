// Loading the controls from the settings file and saving them back, in the
// order of the settings table.
#include <stdexcept>

#include "settings/ini_file.h"
#include "settings/settings_window.h"

namespace hopla {

namespace {
constexpr int32_t kBrakeNone = 1;
constexpr int32_t kBrakeWeak = 50;
constexpr int32_t kBrakeMedium = 100;
constexpr int32_t kBrakeStrong = 150;

bool IsBrakeKind(SettingId id) {
  return id >= SettingId::kBrakeIcon && id <= SettingId::kBrakeRadio;
}
}  // namespace

TrackBar& SettingsWindow::SliderOf(SettingId id) {
  switch (id) {
    case SettingId::kSpeed:
      return SpeedBar;
    case SettingId::kLongPressTime:
      return NagaHanteiTrackBar;
    case SettingId::kExecuteDelay:
      return JikkouTrackBar;
    case SettingId::kKeyModeTime:
      return KeyModeBar;
    default:
      throw std::logic_error("not a slider setting");
  }
}

void SettingsWindow::RunSliderMap(SettingId id) {
  TrackBar& slider = SliderOf(id);
  if (id == SettingId::kSpeed) SpeedBarChange(slider);
  if (id == SettingId::kLongPressTime) NagaHanteiTrackBarChange(slider);
  if (id == SettingId::kExecuteDelay) JikkouTrackBarChange(slider);
  if (id == SettingId::kKeyModeTime) KeyModeBarChange(slider);
}

CheckBox& SettingsWindow::BoxOf(SettingId id) {
  switch (id) {
    case SettingId::kTurnAtEdges:
      return OrikaesiCheckBox;
    case SettingId::kEightDirections:
      return HoukouCheckBox;
    case SettingId::kBoostAllowed:
      return ImadakeSokudo;
    case SettingId::kSound:
      return SoundCheckBox;
    case SettingId::kStartMinimised:
      return SaishouCheckBox;
    case SettingId::kUseJoyToKey:
      return JtkUseCheckBox;
    case SettingId::kBrakeIcon:
      return BreakIconCheckBox;
    case SettingId::kBrakeScrollBar:
      return BreakScrollBarCheckBox;
    case SettingId::kBrakeCheckBox:
      return BreakChkCheckBox;
    case SettingId::kBrakeTextBox:
      return BreakTextBoxCheckBox;
    case SettingId::kBrakeTrayTab:
      return BreakToreiTabCheckBox;
    case SettingId::kBrakeButton:
      return BreakBtnCheckBox;
    case SettingId::kBrakeMenuBar:
      return BreakMenuBarCheckBox;
    case SettingId::kBrakeRadio:
      return BreakRadioCheckBox;
    default:
      throw std::logic_error("not a check box setting");
  }
}

void SettingsWindow::LoadSettings() {
  IniFile ini(app().platform(), kSettingsFile);
  for (const SettingDef& def : kSettings) {
    switch (def.type) {
      case SettingType::kSlider:
        SliderOf(def.id).SetPosition(
            ini.ReadInteger(def.section, def.key, def.fallback));
        RunSliderMap(def.id);
        break;
      case SettingType::kBoolean: {
        CheckBox& box = BoxOf(def.id);
        // A brake kind missing from the file keeps the box as it stands.
        const bool fallback =
            IsBrakeKind(def.id) ? box.Checked() : def.fallback != 0;
        box.SetChecked(ini.ReadBool(def.section, def.key, fallback));
        if (def.id == SettingId::kEightDirections) HoukouCheckBoxClick(box);
        break;
      }
      case SettingType::kText:
        Path_JoyToKey.SetText(ini.ReadString(def.section, def.key, ""));
        break;
      case SettingType::kBrakeStrength:
        LoadBrakeStrength(ini.ReadInteger(def.section, def.key, def.fallback));
        break;
    }
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
  extended_ = values;
  state_.HopOn = values.hop;
  app().platform().UseSwitch(extended_.switch_choice);
}

// What ticking the box by the load does, then the folder read again and a
// look for JoyToKey's window, which is started when it is not there.
void SettingsWindow::TrySwitch(const ExtendedSettings& values) {
  if (!pressed_switch_) pressed_switch_ = extended_.switch_choice;
  extended_ = values;
  state_.HopOn = values.hop;
  app().platform().UseSwitch(extended_.switch_choice);
}

void SettingsWindow::LoadJoyToKey() {
  site_.JtkUseCheckBoxClick(JtkUseCheckBox);
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
  switch (brake_delay_ms) {
    case kBrakeNone:
      site_.BreakNasiRadioButtonClick(BreakNasiRadioButton);
      break;
    case kBrakeWeak:
      BreakYowaiRadioButton.SetChecked(true);
      break;
    case kBrakeMedium:
      BreakChuuRadioButton.SetChecked(true);
      break;
    case kBrakeStrong:
      BreakTuyoiRadioButton.SetChecked(true);
      break;
    default:
      break;  // kept as read, with no strength selected anew
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
    if (!app().Terminated()) app().ShowException(error);  // it goes on
  }
  return true;
}

void SettingsWindow::WriteSettings(IniFileSave& save) {
  for (const SettingDef& def : kSettings) {
    switch (def.type) {
      case SettingType::kSlider:
        save.WriteInteger(def.section, def.key, SliderOf(def.id).Position());
        break;
      case SettingType::kBoolean:
        save.WriteBool(def.section, def.key, BoxOf(def.id).Checked());
        break;
      case SettingType::kText:
        break;  // written by the JoyToKey search alone
      case SettingType::kBrakeStrength:
        save.WriteInteger(def.section, def.key, state_.BrakeDelay);
        break;
    }
  }
  save.WriteString(kVersionSection, kVersionKey, app().Title());
  ExtendedSettings saved = extended_;
  if (pressed_switch_) saved.switch_choice = *pressed_switch_;
  WriteExtendedSettings(save, saved);
}

}  // namespace hopla
