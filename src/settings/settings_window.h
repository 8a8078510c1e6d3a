// The settings window: the one window of the program, with every setting as a
// control, each declared with its place. The controls hold the settings; the
// handlers the setting rows bind put what the engine needs into the shared
// state. What the engine and JoyToKey add to the window comes from the class
// built on this one.
#ifndef HOPLA_SETTINGS_SETTINGS_WINDOW_H_
#define HOPLA_SETTINGS_SETTINGS_WINDOW_H_

#include <optional>
#include <string>

#include "controls/cute_button.h"
#include "controls/marquee_label.h"
#include "settings/extended_settings.h"
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
// The help file, beside the programs (the English face's is its own, named
// in the table of texts); the HELP button, code "1010" and, until a
// distributor sets a home page, the link open it.
inline constexpr char kHelpFile[] = "Hopla.chm";
// How long the minimise button waits for the window it minimises.
inline constexpr int32_t kMinimiseSendTimeoutMs = 2000;
// The stepping buttons grow by this much each way under the pointer.
inline constexpr int32_t kHoverGrowthPx = 10;

// The system menu's item that opens the extended settings dialog.
inline constexpr uint32_t kExtendedSettingsCommand = 0x0110;
inline constexpr char kExtendedSettingsMenuText[] = "拡張設定...";
// The system menu's item and the hot key that begin and end a carer's
// pause: Ctrl+Alt and a key the settings choose.
inline constexpr uint32_t kPauseCommand = 0x0120;
inline constexpr char kPauseMenuText[] = "一時停止";
inline constexpr int32_t kPauseHotKeyId = 1;
inline constexpr uint32_t kPauseHotKeyModifiers = kModControl | kModAlt;
// The system menu's item that opens and closes Hopla's keyboard.
inline constexpr uint32_t kKeyboardCommand = 0x0130;
inline constexpr char kKeyboardMenuText[] = "キーボード";

// The banner's text: its sentences, each followed by ideographic spaces.
// With an account, the banner asks for donations to it; without, the
// sentences that name one are left out.
// In the program's language.
std::string BannerText(const std::optional<std::string>& account,
                       const Application& app);

class IniFileSave;

// What loading the settings asks of JoyToKey and of the brake.
class SettingsSite {
 public:
  virtual ~SettingsSite() = default;
  // Sets JoyToKeyWindow to the window found, or none.
  virtual void FindJoyToKeyWindow() = 0;
  virtual bool StartJoyToKey(const std::string& folder) = 0;
  // JtkUseCheckBox was ticked or cleared once the load had finished (the
  // load's own tick comes once every value is in place).
  virtual void JoyToKeyUseChanged() = 0;
};

class SettingsWindow : public Form {
 public:
  // `site` is used from LoadSettings on, not during construction.
  SettingsWindow(Application& app, EngineState& state, SettingsSite& site);

  EngineState& State() { return state_; }
  const EngineState& State() const { return state_; }

  // Controls are made in the window's keyboard order.
  // Options area.
  CheckBox HoukouCheckBox{app(), *this, "HoukouCheckBox",
                          At("マウス移動を8方向にする", 16, 24, 161, 17)};
  CheckBox OrikaesiCheckBox{app(), *this, "OrikaesiCheckBox",
                            At("左右上下端で折り返す", 16, 48, 145, 17)};
  CheckBox JtkUseCheckBox{app(), *this, "JtkUseCheckBox",
                          At("キー入力モードでJoyToKeyを使う", 16, 72, 217, 17,
                             "ここにチェックを入れる場合は、JoyToKeyを先に"
                             "インストールする必要があります。")};
  CheckBox ImadakeSokudo{app(), *this, "ImadakeSokudo",
                         At("000で速度速める", 200, 24, 121, 17)};
  GroupBox GroupBox1{app(), *this, "GroupBox1", At("", 8, 8, 369, 97)};
  CheckBox SaishouCheckBox{app(), GroupBox1, "SaishouCheckBox",
                           At("最小化で起動する", 192, 40, 129, 17)};
  CheckBox SoundCheckBox{app(), *this, "SoundCheckBox",
                         At("音を出す", 248, 72, 81, 17)};
  // Timing rows.
  Label Label2{app(), *this, "Label2", LabelAt("カーソル移動速度", 16, 128)};
  TCuteButton CuteButton1{app(), *this, "CuteButton1",
                          Stepper("遅い", kLowerLeft, 120)};
  TrackBar SpeedBar{app(), *this, "SpeedBar", Slider(120, 41)};
  TCuteButton CuteButton2{app(), *this, "CuteButton2",
                          Stepper("早い", kRaiseLeft, 120)};
  Label Label1{app(), *this, "Label1", LabelAt("長押し判定時間", 16, 184)};
  TCuteButton CuteButton3{app(), *this, "CuteButton3",
                          Stepper("短い", kLowerLeft, 176)};
  TrackBar NagaHanteiTrackBar{app(), *this, "NagaHanteiTrackBar",
                              Slider(176, 45)};
  TCuteButton CuteButton4{app(), *this, "CuteButton4",
                          Stepper("長い", kRaiseLeft, 176)};
  Label Label5{app(), *this, "Label5", LabelAt("実行までの時間", 16, 240)};
  TCuteButton CuteButton5{app(), *this, "CuteButton5",
                          Stepper("短い", kLowerLeft, 232)};
  TrackBar JikkouTrackBar{app(), *this, "JikkouTrackBar", Slider(232, 45)};
  TCuteButton CuteButton6{app(), *this, "CuteButton6",
                          Stepper("長い", kRaiseLeft, 232)};
  Label Label6{app(), *this, "Label6", LabelAt("キー入力モードへ", 16, 288)};
  Label Label7{app(), *this, "Label7", LabelAt("入る長押し時間", 16, 304)};
  TCuteButton CuteButton7{app(), *this, "CuteButton7",
                          Stepper("短い", kLowerLeft, 288)};
  TrackBar KeyModeBar{app(), *this, "KeyModeBar", Slider(288, 45)};
  TCuteButton CuteButton8{app(), *this, "CuteButton8",
                          Stepper("長い", kRaiseLeft, 288)};
  // Window buttons.
  PushButton SaishoukaButton{
      app(), *this, "SaishoukaButton",
      At("最小化", 408, 24, 57, 33, "001でも最小化します")};
  PushButton HelpBtn{app(), *this, "HelpBtn",
                     At("HELP", 472, 24, 57, 33, "1010でもヘルプ表示できます")};
  GroupBox GroupBox2{app(), *this, "GroupBox2", At("", 400, 8, 201, 57)};
  PushButton ShuuryouBtn{app(), GroupBox2, "ShuuryouBtn",
                         At("終了", 136, 16, 57, 33)};
  // Brake frame.
  GroupBox BreakGroupBox{app(), *this, "BreakGroupBox",
                         At(" ブレーキモード ", 432, 72, 169, 345)};
  RadioGroup BrakeStrengths;
  RadioButton BreakNasiRadioButton{app(), BreakGroupBox, BrakeStrengths,
                                   "BreakNasiRadioButton",
                                   Checked(At("なし", 8, 16, 41, 17))};
  RadioButton BreakYowaiRadioButton{app(), BreakGroupBox, BrakeStrengths,
                                    "BreakYowaiRadioButton",
                                    At("ブレーキ\x1F弱", 48, 16, 33, 17)};
  RadioButton BreakChuuRadioButton{app(), BreakGroupBox, BrakeStrengths,
                                   "BreakChuuRadioButton",
                                   At("ブレーキ\x1F中", 88, 16, 33, 17)};
  RadioButton BreakTuyoiRadioButton{app(), BreakGroupBox, BrakeStrengths,
                                    "BreakTuyoiRadioButton",
                                    At("ブレーキ\x1F強", 128, 16, 33, 17)};
  CheckBox BreakIconCheckBox{app(), BreakGroupBox, "BreakIconCheckBox",
                             KindBox("アイコン", 48)};
  CheckBox BreakScrollBarCheckBox{app(), BreakGroupBox,
                                  "BreakScrollBarCheckBox",
                                  KindBox("スクロールバー", 72, 113)};
  CheckBox BreakStartMenuCheckBox{app(), BreakGroupBox,
                                  "BreakStartMenuCheckBox",
                                  Disabled(KindBox("スタートメニュー", 96))};
  CheckBox BreakChkCheckBox{app(), BreakGroupBox, "BreakChkCheckBox",
                            KindBox("チェックBOX", 120)};
  CheckBox BreakTextBoxCheckBox{app(), BreakGroupBox, "BreakTextBoxCheckBox",
                                Disabled(KindBox("テキストBOX", 144))};
  CheckBox BreakToreiTabCheckBox{app(), BreakGroupBox, "BreakToreiTabCheckBox",
                                 KindBox("トレイ/タブ", 168)};
  CheckBox BreakBtnCheckBox{app(), BreakGroupBox, "BreakBtnCheckBox",
                            KindBox("ボタン", 192)};
  CheckBox BreakMenuBarCheckBox{app(), BreakGroupBox, "BreakMenuBarCheckBox",
                                KindBox("メニューバー", 216)};
  CheckBox BreakRadioCheckBox{app(), BreakGroupBox, "BreakRadioCheckBox",
                              KindBox("ラジオボタン", 240)};
  CheckBox BreakLinkCheckBox{
      app(), BreakGroupBox, "BreakLinkCheckBox",
      Disabled(KindBox("リンク", 264, 97,
                       "マウスカーソル移動が自動でスローダウンします"))};
  CheckBox CheckBox5{app(), BreakGroupBox, "CheckBox5",
                     Disabled(KindBox("未使用", 288))};
  CheckBox CheckBox1{app(), BreakGroupBox, "CheckBox1",
                     Disabled(KindBox("未使用", 312))};
  // Bottom left.
  TMarqueeLabel MarqueeLabel1{app(), *this, "MarqueeLabel1", Banner()};
  Label Label3{app(), *this, "Label3",
               LabelAt("「ポムラボ。」プロジェクト", 16, 392, true,
                       "ホームページに接続")};
  Label Label4{app(), *this, "Label4",
               LabelAt("Ｖｅｒ ２．１０", 16, 408, true)};
  // Never shown: holds the JoyToKey folder.
  Edit Path_JoyToKey{app(), *this, "Path_JoyToKey",
                     Hidden(At("", 40, 88, 137, 20))};

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
  void OrikaesiCheckBoxClick(Component& sender);
  void SoundCheckBoxClick(Component& sender);
  void JtkUseCheckBoxClick(Component& sender);

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
  // Whether the pause's hot key could be had (another program may hold it).
  bool PauseKeyFree() const { return pause_key_free_; }

 private:
  void BindSettingsHandlers();
  void BindWindowHandlers();
  // Adds kHoverGrowthPx x `sign` to the button's width and height; its
  // top-left corner stays.
  static void Grow(TCuteButton& button, int32_t sign);
  // The extended settings in use: each row's handler runs, and the switch
  // is handed to its device.
  void UseExtended(const ExtendedSettings& values);
  void LoadJoyToKey();
  // The strength's radio button is checked and its handler runs; a delay
  // of no strength is kept as read, with no radio button checked anew.
  void LoadBrakeStrength(int32_t brake_delay_ms);
  // What a strength's radio button does: the delay, and the kind boxes
  // enabled unless the strength is none (their ticks stay).
  void SetBrakeStrength(int32_t brake_delay_ms);
  void WriteSettings(IniFileSave& save);
  // Steps a slider by `delta` and runs its map, also at an end of its range.
  void StepSlider(TrackBar& slider, int32_t delta,
                  void (SettingsWindow::*map)(Component&));

  // The layout of the controls, each given where it is declared.
  static constexpr int32_t kLowerLeft = 128;  // the lowering step buttons
  static constexpr int32_t kRaiseLeft = 376;  // the raising step buttons
  static FontArgs WindowFont(bool bold = true, bool italic = false);
  static WidgetArgs FormArgs();
  static WidgetArgs At(const char* caption, int32_t left, int32_t top,
                       int32_t width, int32_t height, const char* hint = "");
  static WidgetArgs Disabled(WidgetArgs desc);
  static WidgetArgs Checked(WidgetArgs desc);
  // A caption label sizes itself to its text.
  static WidgetArgs LabelAt(const char* text, int32_t left, int32_t top,
                            bool italic = false, const char* hint = "");
  static WidgetArgs Slider(int32_t top, int32_t height);
  static WidgetArgs KindBox(const char* caption, int32_t top,
                            int32_t width = 97, const char* hint = "");
  // The stepping buttons beside the sliders.
  static WidgetArgs Stepper(const char* caption, int32_t left, int32_t top);
  static WidgetArgs Banner();
  static WidgetArgs Hidden(WidgetArgs desc);

  EngineState& state_;
  SettingsSite& site_;
  ExtendedSettings extended_;
  // While a switch is on trial: the one pressed before it.
  std::optional<SwitchChoice> pressed_switch_;
  bool settings_loaded_ = false;
  bool closing_ = false;
  // The pause's hot key as registered (0: none yet), and whether it could be.
  uint32_t pause_key_registered_ = 0;
  bool pause_key_free_ = false;
};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_SETTINGS_WINDOW_H_
