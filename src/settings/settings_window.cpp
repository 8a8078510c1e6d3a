#include "settings/settings_window.h"

namespace hopla {

namespace {

FontSpec WindowFont(bool bold = true) {
  FontSpec font;
  font.bold = bold;
  return font;
}

WidgetSpec FormSpec() {
  WidgetSpec spec;
  spec.caption = kWindowCaption;
  spec.bounds = {0, 0, kClientWidth, kClientHeight};
  spec.font = WindowFont(false);
  spec.topmost = true;
  return spec;
}

WidgetSpec Box(const char* caption, int32_t left, int32_t top, int32_t width,
               int32_t height, const char* hint = "") {
  WidgetSpec spec;
  spec.caption = caption;
  spec.bounds = {left, top, left + width, top + height};
  spec.font = WindowFont();
  spec.hint = hint;
  return spec;
}

}  // namespace

SettingsWindow::SettingsWindow(Application& app)
    : Form(app, "THopla", FormSpec()),
      JtkUseCheckBox(app, *this, "JtkUseCheckBox",
                     Box("キー入力モードでJoyToKeyを使う", 16, 72, 217, 17,
                         "ここにチェックを入れる場合は、JoyToKeyを先に"
                         "インストールする必要があります。")),
      SoundCheckBox(app, *this, "SoundCheckBox",
                    Box("音を出す", 248, 72, 81, 17)) {}

}  // namespace hopla
