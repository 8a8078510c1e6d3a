// The window's layout: every control with its caption, place and size.
#include "settings/settings_window.h"

#include "settings/setting_rows.h"

namespace hopla {

namespace {

constexpr int32_t kSliderMin = 1;
constexpr int32_t kSliderMax = 8;
constexpr int32_t kSliderLeft = 176;
constexpr int32_t kSliderWidth = 193;
constexpr int32_t kCharWidthPx = 14;  // a full-width character, bold, with room
constexpr int32_t kLabelHeightPx = 12;

}  // namespace

FontArgs SettingsWindow::WindowFont(bool bold, bool italic) {
  FontArgs font;
  font.bold = bold;
  font.italic = italic;
  return font;
}

WidgetArgs SettingsWindow::FormArgs() {
  WidgetArgs desc;
  desc.caption = kWindowCaption;
  desc.bounds = {0, 0, kClientWidth, kClientHeight};
  desc.font = WindowFont(false);
  desc.topmost = true;
  desc.system_menu = {{kExtendedSettingsCommand, kExtendedSettingsMenuText},
                      {kPauseCommand, kPauseMenuText},
                      {kKeyboardCommand, kKeyboardMenuText}};
  return desc;
}

WidgetArgs SettingsWindow::At(const char* caption, int32_t left, int32_t top,
                              int32_t width, int32_t height, const char* hint) {
  WidgetArgs desc;
  desc.caption = caption;
  desc.bounds = {left, top, left + width, top + height};
  desc.font = WindowFont();
  desc.hint = hint;
  return desc;
}

WidgetArgs SettingsWindow::Disabled(WidgetArgs desc) {
  desc.enabled = false;
  return desc;
}

WidgetArgs SettingsWindow::Checked(WidgetArgs desc) {
  desc.checked = true;
  return desc;
}

WidgetArgs SettingsWindow::LabelAt(const char* text, int32_t left, int32_t top,
                                   bool italic, const char* hint) {
  const std::string s(text);
  int32_t width = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if ((byte & 0xC0) != 0x80)
      width += byte < 0x80 ? kCharWidthPx / 2 : kCharWidthPx;
  }
  WidgetArgs desc = At(text, left, top, width, kLabelHeightPx, hint);
  desc.font.italic = italic;
  desc.fit_text = true;
  return desc;
}

WidgetArgs SettingsWindow::Slider(int32_t top, int32_t height) {
  WidgetArgs desc = At("", kSliderLeft, top, kSliderWidth, height);
  desc.min = kSliderMin;
  desc.max = kSliderMax;
  desc.position = kSliderMin;
  return desc;
}

WidgetArgs SettingsWindow::KindBox(const char* caption, int32_t top,
                                   int32_t width, const char* hint) {
  return At(caption, 16, top, width, 17, hint);
}

WidgetArgs SettingsWindow::Stepper(const char* caption, int32_t left,
                                   int32_t top) {
  return At(caption, left, top, 41, 33);
}

WidgetArgs SettingsWindow::Banner() {
  WidgetArgs desc = At("", 16, 352, 345, 25);
  desc.font.height_px = 13;
  return desc;
}

WidgetArgs SettingsWindow::Hidden(WidgetArgs desc) {
  desc.visible = false;
  desc.font = WindowFont(false);
  return desc;
}

SettingsWindow::SettingsWindow(Application& app, EngineState& state,
                               SettingsSite& site)
    : Form(app, "THopla", FormArgs()), state_(state), site_(site) {
  MarqueeLabel1.Shadow().SetColor(Color{0, 128, 0});
  BindSettingsHandlers();
  BindWindowHandlers();
}

void SettingsWindow::BindSettingsHandlers() {
  for (const SettingRow& row : SettingRows()) {
    if (row.brake_kind != nullptr) {
      auto& box = static_cast<CheckBox&>(row.control(*this));
      box.on_click = [this, &box, bit = row.brake_kind->bit](Component&) {
        const uint32_t kinds = state_.BrakeKinds;
        state_.BrakeKinds = box.Checked() ? (kinds | bit) : (kinds & ~bit);
      };
    } else if (row.handler != nullptr) {
      NotifyEvent handler = [this, run = row.handler](Component& sender) {
        (this->*run)(sender);
      };
      if (row.kind == SettingKind::kSlider) {
        static_cast<TrackBar&>(row.control(*this)).on_change = handler;
      } else {
        static_cast<CheckBox&>(row.control(*this)).on_click = handler;
      }
    }
  }
  for (const StrengthRadio& strength : StrengthRadios()) {
    strength.radio(*this).on_click = [this,
                                      delay = strength.delay_ms](Component&) {
      SetBrakeStrength(delay);
    };
  }
}

}  // namespace hopla
