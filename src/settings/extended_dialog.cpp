#include "settings/extended_dialog.h"

#include <cstdio>

namespace hopla {
namespace {

constexpr int32_t kWidth = 420;
constexpr int32_t kHeight = 340;
constexpr int32_t kRowHeight = 17;
constexpr int32_t kBarHeight = 26;
constexpr int32_t kSubLeft = 150;
constexpr int32_t kBarLeft = 226;
constexpr int32_t kBarWidth = 170;
constexpr int32_t kMsPerSecond = 1000;

WidgetArgs DialogArgs() {
  WidgetArgs desc;
  desc.caption = "拡張設定";
  desc.bounds = {0, 0, kWidth, kHeight};
  desc.topmost = true;
  return desc;
}

WidgetArgs At(const std::string& caption, int32_t left, int32_t top,
              int32_t width, int32_t height) {
  WidgetArgs desc;
  desc.caption = caption;
  desc.bounds = {left, top, left + width, top + height};
  return desc;
}

WidgetArgs Bar(int32_t top, int32_t max) {
  WidgetArgs desc = At("", kBarLeft, top, kBarWidth, kBarHeight);
  desc.min = 1;
  desc.max = max;
  desc.position = 1;
  return desc;
}

WidgetArgs Focusable(WidgetArgs desc) {
  desc.tab_stop = true;
  return desc;
}

std::string Numbered(const char* stem, int32_t n) {
  return std::string(stem) + " " + std::to_string(n);
}

}  // namespace

std::string DescribePress(int32_t held_ms, bool long_press) {
  char seconds[32];
  std::snprintf(seconds, sizeof(seconds), "%d.%02d", held_ms / kMsPerSecond,
                held_ms % kMsPerSecond / 10);
  return std::string(long_press ? "長い押し（1）" : "短い押し（0）") + "　" +
         seconds + " 秒";
}

ExtendedDialog::ExtendedDialog(Application& app, SettingsWindow& settings)
    : Form(app, "ExtendedDialog", DialogArgs()),
      SwitchGroup(app, *this, "SwitchGroup",
                  At("スイッチ", 8, 6, kWidth - 16, 226)),
      JoystickRadio(app, *this, Kinds, "JoystickRadio",
                    At("ジョイスティック", 20, 30, 124, kRowHeight)),
      JoystickLabel(app, *this, "JoystickLabel",
                    At(Numbered("番号", 1), kSubLeft, 32, 70, 12)),
      JoystickBar(app, *this, "JoystickBar", Bar(24, kMaxJoysticks)),
      ButtonLabel(app, *this, "ButtonLabel",
                  At(Numbered("ボタン", 1), kSubLeft, 60, 70, 12)),
      ButtonBar(app, *this, "ButtonBar", Bar(52, kMaxJoystickButtons)),
      KeyRadio(app, *this, Kinds, "KeyRadio",
               At("キーボードのキー", 20, 92, 124, kRowHeight)),
      KeyCatcher(app, *this, "KeyCatcher",
                 Focusable(At("", kSubLeft, 88, 246, 24))),
      KeyNote(app, *this, "KeyNote",
              At("選んだキーは、Hoplaの動いている間、どのキーボードからも"
                 "入力されなくなります。",
                 20, 118, kWidth - 44, 28)),
      MouseRadio(app, *this, Kinds, "MouseRadio",
                 At("マウスのボタン", 20, 154, 124, kRowHeight)),
      RightRadio(app, *this, MouseButtons, "RightRadio",
                 At("右", kSubLeft, 154, 50, kRowHeight)),
      MiddleRadio(app, *this, MouseButtons, "MiddleRadio",
                  At("中", kSubLeft + 56, 154, 50, kRowHeight)),
      X1Radio(app, *this, MouseButtons, "X1Radio",
              At("X1", kSubLeft + 112, 154, 50, kRowHeight)),
      X2Radio(app, *this, MouseButtons, "X2Radio",
              At("X2", kSubLeft + 168, 154, 50, kRowHeight)),
      TryButton(app, *this, "TryButton",
                At("スイッチを試す", 20, 186, 116, 28)),
      TryLabel(app, *this, "TryLabel", At("", kSubLeft, 194, 250, 12)),
      BubbleCheckBox(
          app, *this, "BubbleCheckBox",
          At("入力中のコードを吹き出しで表示する", 16, 244, 300, kRowHeight)),
      HopCheckBox(
          app, *this, "HopCheckBox",
          At("歩いている時に「01」で、進む向きの次のボタンやリンクへ跳ぶ", 16,
             268, kWidth - 32, kRowHeight)),
      CloseButton(app, *this, "CloseButton",
                  At("閉じる", kWidth - 108, kHeight - 40, 96, 30)),
      ConfirmTimer(app.timers(), "ConfirmTimer", false, kMsPerSecond),
      settings_(settings) {
  Bind();
}

void ExtendedDialog::Bind() {
  for (RadioButton* kind : {&JoystickRadio, &KeyRadio, &MouseRadio}) {
    kind->on_click = [this](Component&) { SwitchChanged(); };
  }
  for (RadioButton* button : {&RightRadio, &MiddleRadio, &X1Radio, &X2Radio}) {
    button->on_click = [this](Component&) { KindTouched(MouseRadio); };
  }
  JoystickBar.on_change = [this](Component&) {
    JoystickLabel.SetCaption(Numbered("番号", JoystickBar.Position()));
    KindTouched(JoystickRadio);
  };
  ButtonBar.on_change = [this](Component&) {
    ButtonLabel.SetCaption(Numbered("ボタン", ButtonBar.Position()));
    KindTouched(JoystickRadio);
  };
  KeyCatcher.on_change = [this](Component&) { KindTouched(KeyRadio); };
  TryButton.on_click = [this](Component&) {
    trying_ = true;
    TryLabel.SetCaption("スイッチを押してください");
  };
  BubbleCheckBox.on_click = [this](Component&) { BubbleClick(); };
  HopCheckBox.on_click = [this](Component&) { HopClick(); };
  CloseButton.on_click = [this](Component&) { Close(); };
  on_close = [this](Component&, CloseAction&) { trying_ = false; };
  ConfirmTimer.on_timer = [this](Component&) { ConfirmTick(); };
}

void ExtendedDialog::Open() {
  ShowValues(settings_.Extended());
  if (!Confirming()) TryLabel.SetCaption("");
  SetVisible(true);
}

void ExtendedDialog::ShowValues(const ExtendedSettings& values) {
  showing_ = true;
  const SwitchChoice& choice = values.switch_choice;
  JoystickRadio.SetChecked(choice.kind == SwitchKind::kJoystick);
  KeyRadio.SetChecked(choice.kind == SwitchKind::kKey);
  MouseRadio.SetChecked(choice.kind == SwitchKind::kMouseButton);
  JoystickBar.SetPosition(choice.joystick);
  ButtonBar.SetPosition(choice.button);
  JoystickLabel.SetCaption(Numbered("番号", choice.joystick));
  ButtonLabel.SetCaption(Numbered("ボタン", choice.button));
  KeyCatcher.SetKey(choice.key);
  RightRadio.SetChecked(choice.mouse_button == SwitchMouseButton::kRight);
  MiddleRadio.SetChecked(choice.mouse_button == SwitchMouseButton::kMiddle);
  X1Radio.SetChecked(choice.mouse_button == SwitchMouseButton::kX1);
  X2Radio.SetChecked(choice.mouse_button == SwitchMouseButton::kX2);
  BubbleCheckBox.SetChecked(values.bubble);
  HopCheckBox.SetChecked(values.hop);
  showing_ = false;
}

SwitchChoice ExtendedDialog::ChoiceOfControls() const {
  SwitchChoice choice;
  choice.kind = KeyRadio.Checked()     ? SwitchKind::kKey
                : MouseRadio.Checked() ? SwitchKind::kMouseButton
                                       : SwitchKind::kJoystick;
  choice.joystick = JoystickBar.Position();
  choice.button = ButtonBar.Position();
  choice.key = KeyCatcher.Key();
  choice.mouse_button = MiddleRadio.Checked() ? SwitchMouseButton::kMiddle
                        : X1Radio.Checked()   ? SwitchMouseButton::kX1
                        : X2Radio.Checked()   ? SwitchMouseButton::kX2
                                              : SwitchMouseButton::kRight;
  return choice;
}

void ExtendedDialog::KindTouched(RadioButton& kind) {
  if (showing_) return;
  showing_ = true;
  kind.SetChecked(true);
  showing_ = false;
  SwitchChanged();
}

void ExtendedDialog::SwitchChanged() {
  if (showing_) return;
  ExtendedSettings values = settings_.Extended();
  const SwitchChoice choice = ChoiceOfControls();
  if (choice == values.switch_choice) return;
  if (!previous_) previous_ = values;
  values.switch_choice = choice;
  settings_.TrySwitch(values);
  trying_ = false;
  seconds_left_ = kConfirmSeconds;
  ConfirmTimer.SetEnabled(false);
  ConfirmTimer.SetEnabled(true);
  ShowSecondsLeft();
}

void ExtendedDialog::ShowSecondsLeft() {
  TryLabel.SetCaption(
      Numbered("新しいスイッチを押してください　あと", seconds_left_) + " 秒");
}

void ExtendedDialog::ConfirmTick() {
  if (--seconds_left_ > 0) {
    ShowSecondsLeft();
    return;
  }
  ConfirmTimer.SetEnabled(false);
  ExtendedSettings values = settings_.Extended();
  values.switch_choice = previous_->switch_choice;
  previous_.reset();
  settings_.SetExtended(values);
  ShowValues(values);
  TryLabel.SetCaption("押されなかったので、元のスイッチに戻しました");
}

bool ExtendedDialog::TakePress(int32_t held_ms, bool long_press) {
  if (Confirming()) {
    previous_.reset();
    settings_.ConfirmSwitch();
    ConfirmTimer.SetEnabled(false);
    TryLabel.SetCaption("新しいスイッチで押せました：" +
                        DescribePress(held_ms, long_press));
    return true;
  }
  if (!trying_) return false;
  trying_ = false;
  TryLabel.SetCaption(DescribePress(held_ms, long_press));
  return true;
}

void ExtendedDialog::BubbleClick() {
  if (showing_) return;
  ExtendedSettings values = settings_.Extended();
  values.bubble = BubbleCheckBox.Checked();
  settings_.SetExtended(values);
}

void ExtendedDialog::HopClick() {
  if (showing_) return;
  ExtendedSettings values = settings_.Extended();
  values.hop = HopCheckBox.Checked();
  settings_.SetExtended(values);
}

}  // namespace hopla
