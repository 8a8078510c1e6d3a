// The window's layout: every control with its caption, place and size.
#include "settings/settings_window.h"

namespace hopla {

namespace {

constexpr int32_t kSliderMin = 1;
constexpr int32_t kSliderMax = 8;
constexpr int32_t kSliderLeft = 176;
constexpr int32_t kSliderWidth = 193;
constexpr int32_t kCharWidthPx = 14;  // a full-width character, bold, with room
constexpr int32_t kLabelHeightPx = 12;

FontArgs WindowFont(bool bold = true, bool italic = false) {
  FontArgs font;
  font.bold = bold;
  font.italic = italic;
  return font;
}

WidgetArgs FormArgs() {
  WidgetArgs desc;
  desc.caption = kWindowCaption;
  desc.bounds = {0, 0, kClientWidth, kClientHeight};
  desc.font = WindowFont(false);
  desc.topmost = true;
  desc.system_menu = {{kExtendedSettingsCommand, kExtendedSettingsMenuText}};
  return desc;
}

WidgetArgs At(const char* caption, int32_t left, int32_t top, int32_t width,
              int32_t height, const char* hint = "") {
  WidgetArgs desc;
  desc.caption = caption;
  desc.bounds = {left, top, left + width, top + height};
  desc.font = WindowFont();
  desc.hint = hint;
  return desc;
}

WidgetArgs Disabled(WidgetArgs desc) {
  desc.enabled = false;
  return desc;
}

WidgetArgs Checked(WidgetArgs desc) {
  desc.checked = true;
  return desc;
}

// A caption label sizes itself to its text.
WidgetArgs LabelAt(const char* text, int32_t left, int32_t top,
                   bool italic = false) {
  const std::string s(text);
  int32_t width = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if ((byte & 0xC0) != 0x80)
      width += byte < 0x80 ? kCharWidthPx / 2 : kCharWidthPx;
  }
  WidgetArgs desc = At(text, left, top, width, kLabelHeightPx);
  desc.font.italic = italic;
  return desc;
}

WidgetArgs Slider(int32_t top, int32_t height) {
  WidgetArgs desc = At("", kSliderLeft, top, kSliderWidth, height);
  desc.min = kSliderMin;
  desc.max = kSliderMax;
  desc.position = kSliderMin;
  return desc;
}

WidgetArgs KindBox(const char* caption, int32_t top, int32_t width = 97,
                   const char* hint = "") {
  return At(caption, 16, top, width, 17, hint);
}

// The stepping buttons beside the sliders.
WidgetArgs Stepper(const char* caption, int32_t left, int32_t top) {
  return At(caption, left, top, 41, 33);
}
constexpr int32_t kLowerLeft = 128;
constexpr int32_t kRaiseLeft = 376;

WidgetArgs Banner() {
  WidgetArgs desc = At("", 16, 352, 345, 25);
  desc.font.height_px = 13;
  return desc;
}

WidgetArgs Hidden(WidgetArgs desc) {
  desc.visible = false;
  desc.font = WindowFont(false);
  return desc;
}

}  // namespace

SettingsWindow::SettingsWindow(Application& app, EngineState& state,
                               SettingsSite& site)
    : Form(app, "THopla", FormArgs()),
      HoukouCheckBox(app, *this, "HoukouCheckBox",
                     At("マウス移動を8方向にする", 16, 24, 161, 17)),
      OrikaesiCheckBox(app, *this, "OrikaesiCheckBox",
                       At("左右上下端で折り返す", 16, 48, 145, 17)),
      JtkUseCheckBox(app, *this, "JtkUseCheckBox",
                     At("キー入力モードでJoyToKeyを使う", 16, 72, 217, 17,
                        "ここにチェックを入れる場合は、JoyToKeyを先に"
                        "インストールする必要があります。")),
      ImadakeSokudo(app, *this, "ImadakeSokudo",
                    At("000で速度速める", 200, 24, 121, 17)),
      GroupBox1(app, *this, "GroupBox1", At("", 8, 8, 369, 97)),
      SaishouCheckBox(app, GroupBox1, "SaishouCheckBox",
                      At("最小化で起動する", 192, 40, 129, 17)),
      SoundCheckBox(app, *this, "SoundCheckBox",
                    At("音を出す", 248, 72, 81, 17)),
      Label2(app, *this, "Label2", LabelAt("カーソル移動速度", 16, 128)),
      CuteButton1(app, *this, "CuteButton1", Stepper("遅い", kLowerLeft, 120)),
      SpeedBar(app, *this, "SpeedBar", Slider(120, 41)),
      CuteButton2(app, *this, "CuteButton2", Stepper("早い", kRaiseLeft, 120)),
      Label1(app, *this, "Label1", LabelAt("長押し判定時間", 16, 184)),
      CuteButton3(app, *this, "CuteButton3", Stepper("短い", kLowerLeft, 176)),
      NagaHanteiTrackBar(app, *this, "NagaHanteiTrackBar", Slider(176, 45)),
      CuteButton4(app, *this, "CuteButton4", Stepper("長い", kRaiseLeft, 176)),
      Label5(app, *this, "Label5", LabelAt("実行までの時間", 16, 240)),
      CuteButton5(app, *this, "CuteButton5", Stepper("短い", kLowerLeft, 232)),
      JikkouTrackBar(app, *this, "JikkouTrackBar", Slider(232, 45)),
      CuteButton6(app, *this, "CuteButton6", Stepper("長い", kRaiseLeft, 232)),
      Label6(app, *this, "Label6", LabelAt("キー入力モードへ", 16, 288)),
      Label7(app, *this, "Label7", LabelAt("入る長押し時間", 16, 304)),
      CuteButton7(app, *this, "CuteButton7", Stepper("短い", kLowerLeft, 288)),
      KeyModeBar(app, *this, "KeyModeBar", Slider(288, 45)),
      CuteButton8(app, *this, "CuteButton8", Stepper("長い", kRaiseLeft, 288)),
      SaishoukaButton(app, *this, "SaishoukaButton",
                      At("最小化", 408, 24, 57, 33, "001でも最小化します")),
      HelpBtn(app, *this, "HelpBtn",
              At("HELP", 472, 24, 57, 33, "1010でもヘルプ表示できます")),
      GroupBox2(app, *this, "GroupBox2", At("", 400, 8, 201, 57)),
      ShuuryouBtn(app, GroupBox2, "ShuuryouBtn", At("終了", 136, 16, 57, 33)),
      BreakGroupBox(app, *this, "BreakGroupBox",
                    At(" ブレーキモード ", 432, 72, 169, 345)),
      BreakNasiRadioButton(app, BreakGroupBox, BrakeStrengths,
                           "BreakNasiRadioButton",
                           Checked(At("なし", 8, 16, 41, 17))),
      BreakYowaiRadioButton(app, BreakGroupBox, BrakeStrengths,
                            "BreakYowaiRadioButton", At("弱", 48, 16, 33, 17)),
      BreakChuuRadioButton(app, BreakGroupBox, BrakeStrengths,
                           "BreakChuuRadioButton", At("中", 88, 16, 33, 17)),
      BreakTuyoiRadioButton(app, BreakGroupBox, BrakeStrengths,
                            "BreakTuyoiRadioButton", At("強", 128, 16, 33, 17)),
      BreakIconCheckBox(app, BreakGroupBox, "BreakIconCheckBox",
                        KindBox("アイコン", 48)),
      BreakScrollBarCheckBox(app, BreakGroupBox, "BreakScrollBarCheckBox",
                             KindBox("スクロールバー", 72, 113)),
      BreakStartMenuCheckBox(app, BreakGroupBox, "BreakStartMenuCheckBox",
                             Disabled(KindBox("スタートメニュー", 96))),
      BreakChkCheckBox(app, BreakGroupBox, "BreakChkCheckBox",
                       KindBox("チェックBOX", 120)),
      BreakTextBoxCheckBox(app, BreakGroupBox, "BreakTextBoxCheckBox",
                           Disabled(KindBox("テキストBOX", 144))),
      BreakToreiTabCheckBox(app, BreakGroupBox, "BreakToreiTabCheckBox",
                            KindBox("トレイ/タブ", 168)),
      BreakBtnCheckBox(app, BreakGroupBox, "BreakBtnCheckBox",
                       KindBox("ボタン", 192)),
      BreakMenuBarCheckBox(app, BreakGroupBox, "BreakMenuBarCheckBox",
                           KindBox("メニューバー", 216)),
      BreakRadioCheckBox(app, BreakGroupBox, "BreakRadioCheckBox",
                         KindBox("ラジオボタン", 240)),
      BreakLinkCheckBox(
          app, BreakGroupBox, "BreakLinkCheckBox",
          Disabled(KindBox("リンク", 264, 97,
                           "マウスカーソル移動が自動でスローダウンします"))),
      CheckBox5(app, BreakGroupBox, "CheckBox5",
                Disabled(KindBox("未使用", 288))),
      CheckBox1(app, BreakGroupBox, "CheckBox1",
                Disabled(KindBox("未使用", 312))),
      MarqueeLabel1(app, *this, "MarqueeLabel1", Banner()),
      Label3(app, *this, "Label3",
             [] {
               WidgetArgs desc =
                   LabelAt("「ポムラボ。」プロジェクト", 16, 392, true);
               desc.hint = "ホームページに接続";
               return desc;
             }()),
      Label4(app, *this, "Label4", LabelAt("Ｖｅｒ ２．１０", 16, 408, true)),

      Path_JoyToKey(app, *this, "Path_JoyToKey",
                    Hidden(At("", 40, 88, 137, 20))),
      state_(state),
      site_(site) {
  MarqueeLabel1.Shadow().SetColor(Color{0, 128, 0});
  BindSettingsHandlers();
  BindWindowHandlers();
}

void SettingsWindow::BindSettingsHandlers() {
  auto bind = [this](void (SettingsWindow::*handler)(Component&)) {
    return [this, handler](Component& sender) { (this->*handler)(sender); };
  };
  SpeedBar.on_change = bind(&SettingsWindow::SpeedBarChange);
  NagaHanteiTrackBar.on_change =
      bind(&SettingsWindow::NagaHanteiTrackBarChange);
  JikkouTrackBar.on_change = bind(&SettingsWindow::JikkouTrackBarChange);
  KeyModeBar.on_change = bind(&SettingsWindow::KeyModeBarChange);
  ImadakeSokudo.on_click = bind(&SettingsWindow::ImadakeSokudoClick);
  SaishouCheckBox.on_click = bind(&SettingsWindow::SaishouCheckBoxClick);
  HoukouCheckBox.on_click = bind(&SettingsWindow::HoukouCheckBoxClick);
  OrikaesiCheckBox.on_click = [this](Component&) {
    state_.TurnAtEdges = OrikaesiCheckBox.Checked();
  };
}

}  // namespace hopla
