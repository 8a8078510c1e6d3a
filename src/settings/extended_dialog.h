// The "拡張設定" dialog, opened from the main window's system menu: which
// device is the switch, the code bubble, and a try of the switch. A newly
// chosen switch must be pressed within kConfirmSeconds or the one before
// comes back, so that nobody loses the switch they can press.
#ifndef HOPLA_SETTINGS_EXTENDED_DIALOG_H_
#define HOPLA_SETTINGS_EXTENDED_DIALOG_H_

#include <cstdint>
#include <optional>
#include <string>

#include "controls/key_catcher.h"
#include "settings/settings_window.h"
#include "toolkit/check_box.h"
#include "toolkit/form.h"
#include "toolkit/radio_button.h"
#include "toolkit/simple_controls.h"
#include "toolkit/timer.h"
#include "toolkit/track_bar.h"

namespace hopla {

inline constexpr int32_t kConfirmSeconds = 15;

class ExtendedDialog : public Form {
 public:
  ExtendedDialog(Application& app, SettingsWindow& settings);

  // Shows the dialog with the settings as they stand.
  void Open();
  // A press the heartbeat has measured. Taken, and then no mark of a code,
  // while a try or a new switch waits for it.
  bool TakePress(int32_t held_ms, bool long_press);
  // Whether a new switch waits for its first press.
  bool Confirming() const { return previous_.has_value(); }

  GroupBox SwitchGroup;
  RadioGroup Kinds;
  RadioButton JoystickRadio;
  Label JoystickLabel;
  TrackBar JoystickBar;
  Label ButtonLabel;
  TrackBar ButtonBar;
  RadioButton KeyRadio;
  TKeyCatcher KeyCatcher;
  Label KeyNote;
  RadioButton MouseRadio;
  RadioGroup MouseButtons;
  RadioButton RightRadio;
  RadioButton MiddleRadio;
  RadioButton X1Radio;
  RadioButton X2Radio;
  PushButton TryButton;
  Label TryLabel;
  CheckBox BubbleCheckBox;
  CheckBox HopCheckBox;
  PushButton CloseButton;
  Timer ConfirmTimer;

 private:
  void Bind();
  // The controls from the values, running none of their handlers' work.
  void ShowValues(const ExtendedSettings& values);
  SwitchChoice ChoiceOfControls() const;
  // A control of one kind was changed: that kind is chosen.
  void KindTouched(RadioButton& kind);
  void SwitchChanged();
  void ConfirmTick();
  void ShowSecondsLeft();
  void BubbleClick();
  void HopClick();

  SettingsWindow& settings_;
  bool showing_ = false;
  bool trying_ = false;
  int32_t seconds_left_ = 0;
  // The settings before the unconfirmed switch.
  std::optional<ExtendedSettings> previous_;
};

// How a measured press reads: "短い押し（0）　0.15 秒".
std::string DescribePress(int32_t held_ms, bool long_press);

}  // namespace hopla

#endif  // HOPLA_SETTINGS_EXTENDED_DIALOG_H_
