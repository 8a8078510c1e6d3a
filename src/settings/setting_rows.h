// Every stored setting described once, in the order the settings file is
// read and written: where it lives in the file, its value when absent, its
// range, the control that shows it and the handler its change runs. Loading,
// saving, the window's handlers and the extended dialog all work from these
// rows, so a new setting is one row plus its control and its handler.
#ifndef HOPLA_SETTINGS_SETTING_ROWS_H_
#define HOPLA_SETTINGS_SETTING_ROWS_H_

#include <cstdint>
#include <span>

#include "settings/extended_dialog.h"
#include "settings/extended_settings.h"
#include "settings/settings_window.h"
#include "shared/brake_kinds.h"

namespace hopla {

inline constexpr char kVersionSection[] = "バージョン";
inline constexpr char kVersionKey[] = "Ver";
inline constexpr char kJoyToKeySection[] = "UseJoyToKey";
inline constexpr char kJoyToKeyFolderKey[] = "所在フォルダー";

// How a value reads from the file and whether it is written back.
enum class SettingKind {
  kSlider,    // a slider's position; beyond 1..8 the nearest end
  kCheckBox,  // a box: 0 clear, any other number ticked
  kStrength,  // the brake's delay in milliseconds, kept as read
  kFolder,    // text, written by the JoyToKey search alone
  // A number in [min, max], outside it the default; written only when it
  // differs from the default or its key is in the file already.
  kExtended,
  kControl,  // not stored: a control of the window whose handler is bound
};

struct SettingRow {
  const char* section;
  const char* key;
  SettingKind kind;
  int32_t fallback = 0;  // when absent (a box: 0 or 1)
  // The window's control that shows the value, and the handler its change
  // runs; none for the extended settings, which the dialog shows.
  Control& (*control)(SettingsWindow&) = nullptr;
  void (SettingsWindow::*handler)(Component&) = nullptr;
  // The load runs the handler even when the value leaves the control as it
  // was (the slider maps, 8方向).
  bool load_runs_handler = false;
  // A brake kind's box: what ticking it changes. A kind missing from the
  // file keeps the box as it stands.
  const BrakeKind* brake_kind = nullptr;
  // An extended value: its range, its place among the extended settings,
  // the dialog's box that shows it, if it has one, and its handler, which
  // puts it where the engine reads it (the switch goes to the platform).
  int32_t min = 0;
  int32_t max = 0;
  int32_t (*get)(const ExtendedSettings&) = nullptr;
  void (*set)(ExtendedSettings&, int32_t) = nullptr;
  CheckBox& (*dialog_box)(ExtendedDialog&) = nullptr;
  void (*apply)(EngineState&, int32_t) = nullptr;
};

std::span<const SettingRow> SettingRows();

// The brake's strengths and the radio button of each.
struct StrengthRadio {
  int32_t delay_ms;
  RadioButton& (*radio)(SettingsWindow&);
};
std::span<const StrengthRadio> StrengthRadios();

}  // namespace hopla

#endif  // HOPLA_SETTINGS_SETTING_ROWS_H_
