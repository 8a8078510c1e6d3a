// The settings window: the one window of the program, with every setting as a
// control. The controls are the live store of the settings; the engine reads
// them when it needs them. The slider maps and the small settings handlers
// live here too; what the engine, the brake and JoyToKey add to the window
// comes from the classes built on this one.
#ifndef HOPLA_SETTINGS_SETTINGS_WINDOW_H_
#define HOPLA_SETTINGS_SETTINGS_WINDOW_H_

#include <optional>
#include <string>

#include "controls/cute_button.h"
#include "controls/marquee_label.h"
#include "settings/extended_settings.h"
#include "settings/settings_table.h"
#include "shared/engine_state.h"
#include "toolkit/application.h"
#include "toolkit/check_box.h"
#include "toolkit/form.h"
#include "toolkit/radio_button.h"
#include "toolkit/simple_controls.h"
#include "toolkit/track_bar.h"

namespace hopla {

inline constexpr char kWindowCaption[] = "「ホプラー。」";
inline constexpr int32_t kClientWidth = 607;
inline constexpr int32_t kClientHeight = 428;
// Where the link and the banner lead: the project's page and its postal
// transfer account. Placeholders of the right form until the project has
// its own.
inline constexpr char kHomePageUrl[] = "https://pomlab.example.jp/hopla/";
inline constexpr char kDonationAccount[] = "00000-0-00000";
// How long the minimise button waits for the window it minimises.
inline constexpr int32_t kMinimiseSendTimeoutMs = 2000;
// The stepping buttons grow by this much each way under the pointer.
inline constexpr int32_t kHoverGrowthPx = 10;

// The system menu's item that opens the extended settings dialog.
inline constexpr uint32_t kExtendedSettingsCommand = 0x0110;
inline constexpr char kExtendedSettingsMenuText[] = "拡張設定...";

// The banner's text: its sentences, each followed by ideographic spaces.
std::string BannerText();

class IniFileSave;

// What loading the settings asks of JoyToKey and of the brake.
class SettingsSite {
 public:
  virtual ~SettingsSite() = default;
  // Sets JoyToKeyWindow to the window found, or none.
  virtual void FindJoyToKeyWindow() = 0;
  virtual bool StartJoyToKey(const std::string& folder) = 0;
  // The click handler of JtkUseCheckBox, which the load runs once every
  // value is in place.
  virtual void JtkUseCheckBoxClick(Component& sender) = 0;
  // The handler of the brake strength "なし", run for a stored strength 1.
  virtual void BreakNasiRadioButtonClick(Component& sender) = 0;
};

class SettingsWindow : public Form {
 public:
  // `site` is used from LoadSettings on, not during construction.
  SettingsWindow(Application& app, EngineState& state, SettingsSite& site);

  EngineState& State() { return state_; }
  const EngineState& State() const { return state_; }

  // Controls are made in the window's keyboard order.
  // Options area.
  CheckBox HoukouCheckBox;
  CheckBox OrikaesiCheckBox;
  CheckBox JtkUseCheckBox;
  CheckBox ImadakeSokudo;
  GroupBox GroupBox1;
  CheckBox SaishouCheckBox;
  CheckBox SoundCheckBox;
  // Timing rows.
  Label Label2;
  TCuteButton CuteButton1;
  TrackBar SpeedBar;
  TCuteButton CuteButton2;
  Label Label1;
  TCuteButton CuteButton3;
  TrackBar NagaHanteiTrackBar;
  TCuteButton CuteButton4;
  Label Label5;
  TCuteButton CuteButton5;
  TrackBar JikkouTrackBar;
  TCuteButton CuteButton6;
  Label Label6;
  Label Label7;
  TCuteButton CuteButton7;
  TrackBar KeyModeBar;
  TCuteButton CuteButton8;
  // Window buttons.
  PushButton SaishoukaButton;
  PushButton HelpBtn;
  GroupBox GroupBox2;
  PushButton ShuuryouBtn;
  // Brake frame.
  GroupBox BreakGroupBox;
  RadioGroup BrakeStrengths;
  RadioButton BreakNasiRadioButton;
  RadioButton BreakYowaiRadioButton;
  RadioButton BreakChuuRadioButton;
  RadioButton BreakTuyoiRadioButton;
  CheckBox BreakIconCheckBox;
  CheckBox BreakScrollBarCheckBox;
  CheckBox BreakStartMenuCheckBox;
  CheckBox BreakChkCheckBox;
  CheckBox BreakTextBoxCheckBox;
  CheckBox BreakToreiTabCheckBox;
  CheckBox BreakBtnCheckBox;
  CheckBox BreakMenuBarCheckBox;
  CheckBox BreakRadioCheckBox;
  CheckBox BreakLinkCheckBox;
  CheckBox CheckBox5;
  CheckBox CheckBox1;
  // Bottom left.
  TMarqueeLabel MarqueeLabel1;
  Label Label3;
  Label Label4;
  // Never shown: holds the JoyToKey folder.
  Edit Path_JoyToKey;

  // The slider maps.
  void SpeedBarChange(Component& sender);
  void NagaHanteiTrackBarChange(Component& sender);
  void JikkouTrackBarChange(Component& sender);
  void KeyModeBarChange(Component& sender);
  // One step of a slider, then its map.
  void IdouDownButtonClick(Component& sender);
  void IdouHayaiButtonClick(Component& sender);
  void NagaHanteiMijikaiButtonClick(Component& sender);
  void NagaHanteiNagaiButtonClick(Component& sender);
  void JikkouMijikaiButtonClick(Component& sender);
  void JikkouNagaiButtonClick(Component& sender);
  void KeyModeMijikaiButtonClick(Component& sender);
  void KeyModeNagaiButtonClick(Component& sender);
  // The stepping buttons: a press of any mouse button steps, the pointer
  // over one grows it.
  void CuteButton1MouseDown(Component& s) { IdouDownButtonClick(s); }
  void CuteButton2MouseDown(Component& s) { IdouHayaiButtonClick(s); }
  void CuteButton3MouseDown(Component& s) { NagaHanteiMijikaiButtonClick(s); }
  void CuteButton4MouseDown(Component& s) { NagaHanteiNagaiButtonClick(s); }
  void CuteButton5MouseDown(Component& s) { JikkouMijikaiButtonClick(s); }
  void CuteButton6MouseDown(Component& s) { JikkouNagaiButtonClick(s); }
  void CuteButton7MouseDown(Component& s) { KeyModeMijikaiButtonClick(s); }
  void CuteButton8MouseDown(Component& s) { KeyModeNagaiButtonClick(s); }
  void CuteButton1MouseEnter(Component&) { Grow(CuteButton1, 1); }
  void CuteButton2MouseEnter(Component&) { Grow(CuteButton2, 1); }
  void CuteButton3MouseEnter(Component&) { Grow(CuteButton3, 1); }
  void CuteButton4MouseEnter(Component&) { Grow(CuteButton4, 1); }
  void CuteButton5MouseEnter(Component&) { Grow(CuteButton5, 1); }
  void CuteButton6MouseEnter(Component&) { Grow(CuteButton6, 1); }
  void CuteButton7MouseEnter(Component&) { Grow(CuteButton7, 1); }
  void CuteButton8MouseEnter(Component&) { Grow(CuteButton8, 1); }
  void CuteButton1MouseLeave(Component&) { Grow(CuteButton1, -1); }
  void CuteButton2MouseLeave(Component&) { Grow(CuteButton2, -1); }
  void CuteButton3MouseLeave(Component&) { Grow(CuteButton3, -1); }
  void CuteButton4MouseLeave(Component&) { Grow(CuteButton4, -1); }
  void CuteButton5MouseLeave(Component&) { Grow(CuteButton5, -1); }
  void CuteButton6MouseLeave(Component&) { Grow(CuteButton6, -1); }
  void CuteButton7MouseLeave(Component&) { Grow(CuteButton7, -1); }
  void CuteButton8MouseLeave(Component&) { Grow(CuteButton8, -1); }
  // The cursor override, the link, the minimise button, the banner.
  void Label3MouseMove(Component& sender, Point at);
  void FormMouseMove(Component& sender, Point at);
  void Label3Click(Component& sender);
  void SaishoukaButtonClick(Component& sender);
  void FormShow(Component& sender);
  void MarqueeLabel1End(Component& sender);
  void ImadakeSokudoClick(Component& sender);
  void SaishouCheckBoxClick(Component& sender);
  void HoukouCheckBoxClick(Component& sender);

  // The settings file. Nothing is saved before the load has put every value
  // in place.
  void LoadSettings();
  bool SaveSettings();
  bool SettingsLoaded() const { return settings_loaded_; }
  // The window is being closed, or has been: the program is on its way out,
  // and what a handler still does after a wait must start nothing new nor
  // open a box (the close's own save may still say it was refused).
  bool Closed() const { return closing_ || app().Terminated(); }
  void BeginClosing() { closing_ = true; }
  // The JoyToKey folder's key, read or written on its own, at once. A write
  // the system refuses leaves the file as it was.
  std::string ReadJoyToKeyFolderSetting();
  void WriteJoyToKeyFolderSetting(const std::string& folder);
  // The settings beyond the window's controls; setting them hands the switch
  // to the device chosen at once. A switch set on trial is used at once but
  // saved only once it has been pressed (ConfirmSwitch): until then a save
  // keeps the one the person is known to press. Setting the same switch
  // again keeps the trial; another ends it.
  const ExtendedSettings& Extended() const { return extended_; }
  void SetExtended(const ExtendedSettings& values);
  void TrySwitch(const ExtendedSettings& values);
  void ConfirmSwitch() { pressed_switch_.reset(); }

 private:
  void BindSettingsHandlers();
  void BindWindowHandlers();
  // Adds kHoverGrowthPx x `sign` to the button's width and height; its
  // top-left corner stays.
  static void Grow(TCuteButton& button, int32_t sign);
  // The control that holds a stored setting.
  TrackBar& SliderOf(SettingId id);
  CheckBox& BoxOf(SettingId id);
  void RunSliderMap(SettingId id);
  void LoadJoyToKey();
  void LoadBrakeStrength(int32_t brake_delay_ms);
  void WriteSettings(IniFileSave& save);
  // Steps a slider by `delta` and runs its map, also at an end of its range.
  void StepSlider(TrackBar& slider, int32_t delta,
                  void (SettingsWindow::*map)(Component&));

  EngineState& state_;
  SettingsSite& site_;
  ExtendedSettings extended_;
  // While a switch is on trial: the one pressed before it.
  std::optional<SwitchChoice> pressed_switch_;
  bool settings_loaded_ = false;
  bool closing_ = false;
};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_SETTINGS_WINDOW_H_
