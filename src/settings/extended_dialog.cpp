#include "settings/extended_dialog.h"

#include <cstdio>

#include "settings/setting_rows.h"

namespace hopla {
WidgetArgs ExtendedDialog::DialogArgs() {
  WidgetArgs desc;
  desc.caption = "拡張設定";
  desc.bounds = {0, 0, kWidth, kHeight};
  desc.topmost = true;
  return desc;
}

WidgetArgs ExtendedDialog::At(const std::string& caption, int32_t left,
                              int32_t top, int32_t width, int32_t height) {
  WidgetArgs desc;
  desc.caption = caption;
  desc.bounds = {left, top, left + width, top + height};
  return desc;
}

WidgetArgs ExtendedDialog::Bar(int32_t top, int32_t max) {
  WidgetArgs desc = At("", kBarLeft, top, kBarWidth, kBarHeight);
  desc.min = 1;
  desc.max = max;
  desc.position = 1;
  return desc;
}

WidgetArgs ExtendedDialog::Focusable(WidgetArgs desc) {
  desc.tab_stop = true;
  return desc;
}

WidgetArgs ExtendedDialog::PaceArgs() {
  WidgetArgs desc = Bar(362, kMostStepPace);
  desc.min = kLeastStepPace;
  desc.position = ExtendedSettings{}.step_pace;
  return desc;
}

std::string ExtendedDialog::PaceText(int32_t tenths) const {
  return app().Translate("1つに") + " " + std::to_string(tenths / 10) + "." +
         std::to_string(tenths % 10) + " " + app().Translate("秒");
}

std::string ExtendedDialog::Numbered(const char* stem, int32_t n) const {
  return app().Translate(stem) + " " + std::to_string(n);
}

std::string DescribePress(int32_t held_ms, bool long_press,
                          const Application& app) {
  char seconds[32];
  std::snprintf(seconds, sizeof(seconds), "%d.%02d", held_ms / kMsPerSecond,
                held_ms % kMsPerSecond / 10);
  return app.Translate(long_press ? "長い押し（1）" : "短い押し（0）") +
         "\u3000" + seconds + " " + app.Translate("秒");
}

ExtendedDialog::ExtendedDialog(Application& app, SettingsWindow& settings)
    : Form(app, "ExtendedDialog", DialogArgs()),
      settings_(settings),
      sign_in_(app.platform()) {
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
  for (const SettingRow& row : SettingRows()) {
    if (row.dialog_box == nullptr) continue;
    CheckBox& box = row.dialog_box(*this);
    box.on_click = [this, &box, set = row.set](Component&) {
      if (showing_) return;
      ExtendedSettings values = settings_.Extended();
      set(values, box.Checked() ? 1 : 0);
      settings_.SetExtended(values);
    };
  }
  PaceBar.on_change = [this](Component&) {
    PaceLabel.SetCaption(PaceText(PaceBar.Position()));
    if (showing_) return;
    ExtendedSettings values = settings_.Extended();
    values.step_pace = PaceBar.Position();
    settings_.SetExtended(values);
  };
  SignInCheckBox.on_click = [this](Component&) { SignInClicked(); };
  for (RadioButton* language : {&JapaneseRadio, &EnglishRadio}) {
    language->on_click = [this](Component&) {
      if (showing_) return;
      ExtendedSettings values = settings_.Extended();
      values.language = static_cast<int32_t>(
          EnglishRadio.Checked() ? Language::kEnglish : Language::kJapanese);
      settings_.SetExtended(values);
    };
  }
  PauseKeyCatcher.on_change = [this](Component&) {
    if (showing_) return;
    ExtendedSettings values = settings_.Extended();
    values.pause_key = PauseKeyCatcher.Key();
    settings_.SetExtended(values);
    ShowPauseKeyNote();
  };
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
  for (const SettingRow& row : SettingRows()) {
    if (row.dialog_box != nullptr) {
      row.dialog_box(*this).SetChecked(row.get(values) != 0);
    }
  }
  PaceBar.SetPosition(values.step_pace);
  PaceLabel.SetCaption(PaceText(values.step_pace));
  PauseKeyCatcher.SetKey(values.pause_key);
  JapaneseRadio.SetChecked(values.language ==
                           static_cast<int32_t>(Language::kJapanese));
  EnglishRadio.SetChecked(values.language ==
                          static_cast<int32_t>(Language::kEnglish));
  ShowPauseKeyNote();
  showing_ = false;
  ShowSignIn();
}

void ExtendedDialog::ShowSignIn(const char* refused) {
  const SignInStart::Entry entry = sign_in_.Read();
  showing_ = true;
  SignInCheckBox.SetChecked(entry == SignInStart::Entry::kThisCopy);
  showing_ = false;
  std::string note = refused != nullptr ? refused : "";
  if (note.empty() && entry == SignInStart::Entry::kOtherCopy) {
    note =
        "別の場所のHoplaが登録されています：" + sign_in_.Program().value_or("");
  }
  SignInNote.SetCaption(note);
}

void ExtendedDialog::SignInClicked() {
  if (showing_) return;
  const bool done =
      SignInCheckBox.Checked() ? sign_in_.Add() : sign_in_.Remove();
  ShowSignIn(done ? nullptr : "Windowsが変更を受け付けませんでした。");
}

void ExtendedDialog::ShowPauseKeyNote() {
  PauseKeyNote.SetCaption(settings_.PauseKeyFree()
                              ? ""
                              : "このキーはほかのプログラムが使っています。"
                                "別のキーを選んでください。");
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
      Numbered("新しいスイッチを押してください　あと", seconds_left_) + " " +
      app().Translate("秒"));
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
    TryLabel.SetCaption(app().Translate("新しいスイッチで押せました：") +
                        DescribePress(held_ms, long_press, app()));
    return true;
  }
  if (!trying_) return false;
  trying_ = false;
  TryLabel.SetCaption(DescribePress(held_ms, long_press, app()));
  return true;
}

}  // namespace hopla
