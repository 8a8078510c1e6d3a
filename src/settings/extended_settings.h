// The settings beyond the main window's: which device is the switch, the
// code bubble, and the aids to pointing (the hop to the next element, the
// stop with a click, the finer fast speeds, the element stepping) and the key
// of the carer's pause. They live in
// a section of their own in the settings file, and a value is written only when
// it differs from its default or its key is there already, so the file of a
// user who never changes them stays as it always was.
#ifndef HOPLA_SETTINGS_EXTENDED_SETTINGS_H_
#define HOPLA_SETTINGS_EXTENDED_SETTINGS_H_

#include <cstdint>

#include "platform/switch_choice.h"

namespace hopla {

class IniFile;
class IniFileSave;
struct SettingRow;

inline constexpr char kExtendedSection[] = "拡張設定";
// The key of the texts' language, read before any window is made.
inline constexpr char kLanguageKey[] = "表示言語";
// The keyboard's place: the coordinates of the screens, and its size.
inline constexpr int32_t kLeastKeyboardCoordinate = -32768;
inline constexpr int32_t kMostKeyboardCoordinate = 32767;
inline constexpr int32_t kMostKeyboardSize = 8192;
// The element stepping's pace, in tenths of a second an element.
inline constexpr int32_t kLeastStepPace = 3;
inline constexpr int32_t kMostStepPace = 30;

struct ExtendedSettings {
  SwitchChoice switch_choice;
  bool bubble = true;       // the code bubble beside the cursor
  bool hop = false;         // "01" while walking hops to the next element ahead
  bool stop_click = false;  // "11" while walking stops and clicks
  bool fine_speeds = false;   // speed positions 5..8 at 154..400 px/s
  bool element_step = false;  // the walk goes from element to element
  int32_t step_pace = 10;     // tenths of a second an element
  uint32_t pause_key = 'P';   // the carer's pause: Ctrl+Alt and this key
  bool keyboard = false;      // "10" while standing opens Hopla's keyboard
  int32_t language = 0;       // the texts' language, from the next start
  // Where the keyboard was last left (the whole window); no size: not yet.
  int32_t keyboard_left = 0;
  int32_t keyboard_top = 0;
  int32_t keyboard_width = 0;
  int32_t keyboard_height = 0;

  bool operator==(const ExtendedSettings&) const = default;
};

// A value missing, unreadable or out of its range reads as its default.
ExtendedSettings ReadExtendedSettings(IniFile& ini);
int32_t ReadExtendedValue(IniFile& ini, const SettingRow& row);
void WriteExtendedSettings(IniFileSave& save, const ExtendedSettings& values);

}  // namespace hopla

#endif  // HOPLA_SETTINGS_EXTENDED_SETTINGS_H_
