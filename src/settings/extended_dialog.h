// The "拡張設定" dialog, opened from the main window's system menu: which
// device is the switch, the code bubble, the aids to pointing, the start
// with Windows, the key of the carer's pause, and a try of the switch. A newly
// chosen switch must be pressed within kConfirmSeconds or the one before
// comes back, so that nobody loses the switch they can press.
#ifndef HOPLA_SETTINGS_EXTENDED_DIALOG_H_
#define HOPLA_SETTINGS_EXTENDED_DIALOG_H_

#include <cstdint>
#include <optional>
#include <string>

#include "controls/key_catcher.h"
#include "settings/settings_window.h"
#include "settings/sign_in_start.h"
#include "toolkit/check_box.h"
#include "toolkit/form.h"
#include "toolkit/radio_button.h"
#include "toolkit/simple_controls.h"
#include "toolkit/timer.h"
#include "toolkit/track_bar.h"

namespace hopla {

inline constexpr int32_t kConfirmSeconds = 15;
inline constexpr int32_t kMsPerSecond = 1000;

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

  GroupBox SwitchGroup{app(), *this, "SwitchGroup",
                       At("スイッチ", 8, 6, kWidth - 16, 226)};
  RadioGroup Kinds;
  RadioButton JoystickRadio{app(), *this, Kinds, "JoystickRadio",
                            At("ジョイスティック", 20, 30, 128, kRowHeight)};
  Label JoystickLabel{app(), *this, "JoystickLabel",
                      At(Numbered("番号", 1), kSubLeft, 32, 70, 12)};
  TrackBar JoystickBar{app(), *this, "JoystickBar", Bar(24, kMaxJoysticks)};
  Label ButtonLabel{app(), *this, "ButtonLabel",
                    At(Numbered("ボタン", 1), kSubLeft, 60, 70, 12)};
  TrackBar ButtonBar{app(), *this, "ButtonBar", Bar(52, kMaxJoystickButtons)};
  RadioButton KeyRadio{app(), *this, Kinds, "KeyRadio",
                       At("キーボードのキー", 20, 92, 128, kRowHeight)};
  TKeyCatcher KeyCatcher{app(), *this, "KeyCatcher",
                         Focusable(At("", kSubLeft, 88, 246, 24))};
  Label KeyNote{app(), *this, "KeyNote",
                At("選んだキーは、Hoplaの動いている間、どのキーボードからも"
                   "入力されなくなります。",
                   20, 118, kWidth - 44, 28)};
  RadioButton MouseRadio{app(), *this, Kinds, "MouseRadio",
                         At("マウスのボタン", 20, 154, 128, kRowHeight)};
  RadioGroup MouseButtons;
  RadioButton RightRadio{app(), *this, MouseButtons, "RightRadio",
                         At("右", kSubLeft, 154, 58, kRowHeight)};
  RadioButton MiddleRadio{app(), *this, MouseButtons, "MiddleRadio",
                          At("中", kSubLeft + 62, 154, 58, kRowHeight)};
  RadioButton X1Radio{app(), *this, MouseButtons, "X1Radio",
                      At("X1", kSubLeft + 124, 154, 58, kRowHeight)};
  RadioButton X2Radio{app(), *this, MouseButtons, "X2Radio",
                      At("X2", kSubLeft + 186, 154, 58, kRowHeight)};
  PushButton TryButton{app(), *this, "TryButton",
                       At("スイッチを試す", 20, 186, 124, 28)};
  Label TryLabel{app(), *this, "TryLabel", At("", kSubLeft, 194, 250, 12)};
  CheckBox BubbleCheckBox{
      app(), *this, "BubbleCheckBox",
      At("入力中のコードを吹き出しで表示する", 16, 244, 300, kRowHeight)};
  CheckBox HopCheckBox{
      app(), *this, "HopCheckBox",
      At("歩いている時に「01」で、進む向きの次のボタンやリンクへ跳ぶ", 16, 268,
         kWidth - 32, kRowHeight)};
  CheckBox StopClickCheckBox{
      app(), *this, "StopClickCheckBox",
      At("歩いている時に「11」で、止まってその場でクリックする", 16, 292,
         kWidth - 32, kRowHeight)};
  CheckBox FineSpeedsCheckBox{
      app(), *this, "FineSpeedsCheckBox",
      At("速さ5〜8を細かくする（毎秒約150・200・290・400ドット）", 16, 316,
         kWidth - 32, kRowHeight)};
  CheckBox ElementStepCheckBox{
      app(), *this, "ElementStepCheckBox",
      At("歩く代わりに、進む向きのボタンやリンクを順にたどる", 16, 340,
         kWidth - 32, kRowHeight)};
  Label PaceLabel{app(), *this, "PaceLabel", At("", 36, 370, 180, 12)};
  TrackBar PaceBar{app(), *this, "PaceBar", PaceArgs()};
  CheckBox KeyboardCheckBox{
      app(), *this, "KeyboardCheckBox",
      At("立ち止まっている時に「10」で、Hoplaのキーボードを開く・閉じる", 16,
         396, kWidth - 32, kRowHeight)};
  CheckBox SignInCheckBox{
      app(), *this, "SignInCheckBox",
      At("Windowsの起動と同時に開始する", 16, 420, kWidth - 32, kRowHeight)};
  Label SignInNote{app(), *this, "SignInNote", At("", 36, 440, 360, 12)};
  Label PauseKeyLabel{
      app(), *this, "PauseKeyLabel",
      At("一時停止のホットキー　Ctrl + Alt +", 16, 464, 206, 12)};
  TKeyCatcher PauseKeyCatcher{app(), *this, "PauseKeyCatcher",
                              Focusable(At("", kBarLeft, 458, 120, 24))};
  Label PauseKeyNote{app(), *this, "PauseKeyNote", At("", 16, 488, 380, 12)};
  // In both languages, so that either face finds its way back.
  Label LanguageLabel{app(), *this, "LanguageLabel",
                      At("表示言語 / Language", 16, 514, 180, 12)};
  RadioGroup Languages;
  RadioButton JapaneseRadio{app(), *this, Languages, "JapaneseRadio",
                            At("日本語", kBarLeft, 512, 70, kRowHeight)};
  RadioButton EnglishRadio{app(), *this, Languages, "EnglishRadio",
                           At("English", kBarLeft + 80, 512, 80, kRowHeight)};
  Label LanguageNote{
      app(), *this, "LanguageNote",
      At("（次の起動から / from the next start）", 16, 536, 380, 12)};
  PushButton CloseButton{app(), *this, "CloseButton",
                         At("閉じる", kWidth - 108, kHeight - 40, 96, 30)};
  Timer ConfirmTimer{app().timers(), "ConfirmTimer", false, kMsPerSecond};

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
  // Whether the pause's hot key could be had.
  void ShowPauseKeyNote();
  // The box from the sign-in entry as it stands, and what it says of it.
  void ShowSignIn(const char* refused = nullptr);
  void SignInClicked();

  // The layout of the controls, each given where it is declared.
  static constexpr int32_t kWidth = 420;
  static constexpr int32_t kHeight = 596;
  static constexpr int32_t kRowHeight = 17;
  static constexpr int32_t kBarHeight = 26;
  static constexpr int32_t kSubLeft = 150;
  static constexpr int32_t kBarLeft = 226;
  static constexpr int32_t kBarWidth = 170;
  static WidgetArgs DialogArgs();
  static WidgetArgs At(const std::string& caption, int32_t left, int32_t top,
                       int32_t width, int32_t height);
  static WidgetArgs Bar(int32_t top, int32_t max);
  static WidgetArgs Focusable(WidgetArgs desc);
  static WidgetArgs PaceArgs();
  // "1つに 1.0 秒": the stepping's pace.
  std::string PaceText(int32_t tenths) const;
  // "番号 3": a label with its number.
  std::string Numbered(const char* stem, int32_t n) const;

  SettingsWindow& settings_;
  SignInStart sign_in_;
  bool showing_ = false;
  bool trying_ = false;
  int32_t seconds_left_ = 0;
  // The settings before the unconfirmed switch.
  std::optional<ExtendedSettings> previous_;
};

// How a measured press reads: "短い押し（0）　0.15 秒".
std::string DescribePress(int32_t held_ms, bool long_press,
                          const Application& app);

}  // namespace hopla

#endif  // HOPLA_SETTINGS_EXTENDED_DIALOG_H_
