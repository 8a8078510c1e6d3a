// The keys of Hopla's keyboard and where they lie on its grid. The letters
// come in the order of the kana table: the vowels and "n" first, beside
// Space, Enter and Backspace, then the consonants (k s t h m y r w, then
// the voiced g z d b p), so the keys a person types most lie nearest the
// corner where the walk starts. Romaji goes through the input method as from
// a hardware keyboard; its keys are there too. Only punctuation that is the
// same on Japanese and US keyboards is offered.
#ifndef HOPLA_ENGINE_KEYBOARD_LAYOUT_H_
#define HOPLA_ENGINE_KEYBOARD_LAYOUT_H_

#include <cstdint>
#include <string_view>

#include "platform/types.h"

namespace hopla {

inline constexpr uint8_t kVkBack = 0x08;
inline constexpr uint8_t kVkKanji = 0x19;  // 半角/全角
inline constexpr uint8_t kVkConvert = 0x1C;
inline constexpr uint8_t kVkNonConvert = 0x1D;
inline constexpr uint8_t kVkLeft = 0x25;
inline constexpr uint8_t kVkUp = 0x26;
inline constexpr uint8_t kVkRight = 0x27;
inline constexpr uint8_t kVkDown = 0x28;
inline constexpr uint8_t kVkOemComma = 0xBC;
inline constexpr uint8_t kVkOemMinus = 0xBD;
inline constexpr uint8_t kVkOemPeriod = 0xBE;
inline constexpr uint8_t kVkOem2 = 0xBF;  // "/" and, with Shift, "?"

struct KeyDef {
  std::string_view label;
  uint8_t virtual_key;
  bool with_shift = false;  // typed with Shift held ("?", "!")
  bool is_shift = false;    // the one-shot Shift
  Rect cells;
};

inline constexpr int32_t kKeyboardColumns = 12;
inline constexpr int32_t kKeyboardRows = 6;

// A key of `width` cells at a column and row.
constexpr KeyDef LayoutKey(std::string_view label, uint8_t vk, int32_t column,
                           int32_t row, int32_t width = 1,
                           bool with_shift = false) {
  return {label, vk, with_shift, false,
          Rect{column, row, column + width, row + 1}};
}

inline constexpr KeyDef kKeyboardKeys[] = {
    LayoutKey("a", 'A', 0, 0),
    LayoutKey("i", 'I', 1, 0),
    LayoutKey("u", 'U', 2, 0),
    LayoutKey("e", 'E', 3, 0),
    LayoutKey("o", 'O', 4, 0),
    LayoutKey("n", 'N', 5, 0),
    LayoutKey("Space", kVkSpace, 6, 0, 2),
    LayoutKey("Enter", kVkReturn, 8, 0, 2),
    LayoutKey("BS", kVkBack, 10, 0, 2),
    LayoutKey("k", 'K', 0, 1),
    LayoutKey("s", 'S', 1, 1),
    LayoutKey("t", 'T', 2, 1),
    LayoutKey("h", 'H', 3, 1),
    LayoutKey("m", 'M', 4, 1),
    LayoutKey("y", 'Y', 5, 1),
    LayoutKey("r", 'R', 6, 1),
    LayoutKey("w", 'W', 7, 1),
    LayoutKey("g", 'G', 8, 1),
    LayoutKey("z", 'Z', 9, 1),
    LayoutKey("d", 'D', 10, 1),
    LayoutKey("b", 'B', 11, 1),
    LayoutKey("p", 'P', 0, 2),
    LayoutKey("j", 'J', 1, 2),
    LayoutKey("c", 'C', 2, 2),
    LayoutKey("f", 'F', 3, 2),
    LayoutKey("l", 'L', 4, 2),
    LayoutKey("q", 'Q', 5, 2),
    LayoutKey("v", 'V', 6, 2),
    LayoutKey("x", 'X', 7, 2),
    LayoutKey("-", kVkOemMinus, 8, 2),
    LayoutKey(",", kVkOemComma, 9, 2),
    LayoutKey(".", kVkOemPeriod, 10, 2),
    LayoutKey("?", kVkOem2, 11, 2, 1, true),
    LayoutKey("1", '1', 0, 3),
    LayoutKey("2", '2', 1, 3),
    LayoutKey("3", '3', 2, 3),
    LayoutKey("4", '4', 3, 3),
    LayoutKey("5", '5', 4, 3),
    LayoutKey("6", '6', 5, 3),
    LayoutKey("7", '7', 6, 3),
    LayoutKey("8", '8', 7, 3),
    LayoutKey("9", '9', 8, 3),
    LayoutKey("0", '0', 9, 3),
    LayoutKey("/", kVkOem2, 10, 3),
    LayoutKey("!", '1', 11, 3, 1, true),
    KeyDef{"Shift", kVkShift, false, true, Rect{0, 4, 2, 5}},
    LayoutKey("半角/全角", kVkKanji, 2, 4, 2),
    LayoutKey("無変換", kVkNonConvert, 4, 4, 2),
    LayoutKey("変換", kVkConvert, 6, 4, 2),
    LayoutKey("Tab", kVkTab, 8, 4, 2),
    LayoutKey("Esc", kVkEscape, 10, 4, 2),
    LayoutKey("←", kVkLeft, 0, 5, 3),
    LayoutKey("↑", kVkUp, 3, 5, 3),
    LayoutKey("↓", kVkDown, 6, 5, 3),
    LayoutKey("→", kVkRight, 9, 5, 3),
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_KEYBOARD_LAYOUT_H_
