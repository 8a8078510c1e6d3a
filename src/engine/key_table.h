// The codes of key input mode, in the order an execution tests them: the key
// or combination each types, and the key index handed to JoyToKey instead.
#ifndef HOPLA_ENGINE_KEY_TABLE_H_
#define HOPLA_ENGINE_KEY_TABLE_H_

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/types.h"

namespace hopla {

struct KeyCode {
  std::string_view code;
  uint8_t first_key;   // 0: JoyToKey's alone
  uint8_t second_key;  // 0: none
  int32_t key_index;
  std::string_view name;
};

// Tested before the table: they send JoyToKey other messages.
inline constexpr std::string_view kKeyShowJoyToKey = "KEY101";
inline constexpr std::string_view kKeyShowJoyToKeyNext = "KEY1001";
inline constexpr std::string_view kKeyShowJoyToKeyName = "JoyToKeyを表示";
inline constexpr std::string_view kKeyShowJoyToKeyNextName =
    "JoyToKeyの次の設定";
// What the press code holds after every execution in key input mode.
inline constexpr std::string_view kKeyModeCode = "KEY1";

inline constexpr std::array<KeyCode, 19> kKeyCodes = {{
    {"KEY10", kVkTab, 0, 0, "Tab"},
    {"KEY100", kVkReturn, 0, 1, "Enter"},
    {"KEY1000", kVkSpace, kVkSpace, 2, "Space"},
    {"KEY10000", kVkControl, kVkEscape, 3, "Ctrl+Esc"},
    {"KEY11", kVkPrior, 0, 4, "Page Up"},
    {"KEY110", kVkNext, 0, 5, "Page Down"},
    {"KEY1100", kVkShift, kVkTab, 6, "Shift+Tab"},
    {"KEY11000", kVkControl, kVkTab, 7, "Ctrl+Tab"},
    {"KEY110000", kVkMenu, kVkTab, 8, "Alt+Tab"},
    {"KEY111", kVkF1, 0, 9, "F1"},
    {"KEY1110", kVkEscape, 0, 10, "Esc"},
    {"KEY11100", 0, 0, 11, "JoyToKey 11"},
    {"KEY111000", 0, 0, 12, "JoyToKey 12"},
    {"KEY1111", 0, 0, 13, "JoyToKey 13"},
    {"KEY11110", 0, 0, 14, "JoyToKey 14"},
    {"KEY111100", 0, 0, 15, "JoyToKey 15"},
    {"KEY11111", 0, 0, 16, "JoyToKey 16"},
    {"KEY111110", 0, 0, 17, "JoyToKey 17"},
    {"KEY111111", 0, 0, 18, "JoyToKey 18"},
}};

// The row of a code, or null (the key index 99: no key).
inline const KeyCode* FindKeyCode(std::string_view code) {
  for (const KeyCode& entry : kKeyCodes) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

}  // namespace hopla

#endif  // HOPLA_ENGINE_KEY_TABLE_H_
