// The settings window: the one window of the program, with every setting as a
// control. The controls are the live store of the settings; the engine reads
// them when it needs them.
#ifndef HOPLA_SETTINGS_SETTINGS_WINDOW_H_
#define HOPLA_SETTINGS_SETTINGS_WINDOW_H_

#include "toolkit/application.h"
#include "toolkit/check_box.h"
#include "toolkit/form.h"

namespace hopla {

inline constexpr char kWindowCaption[] = "「ホプラー。」";
inline constexpr int32_t kClientWidth = 607;
inline constexpr int32_t kClientHeight = 428;

class SettingsWindow : public Form {
 public:
  explicit SettingsWindow(Application& app);

  CheckBox JtkUseCheckBox;
  CheckBox SoundCheckBox;
};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_SETTINGS_WINDOW_H_
