#include "engine/keyboard.h"

#include <cctype>
#include <string>

#include "engine/keyboard_layout.h"

namespace hopla {
namespace {

// A key 40 x 36 px at first: big enough to stop on at speed 4.
constexpr int32_t kCellWidthPx = 40;
constexpr int32_t kCellHeightPx = 36;
// The caption and frame around the keys.
constexpr int32_t kFrameWidthPx = 16;
constexpr int32_t kFrameHeightPx = 40;
// Above a taskbar at the bottom of the screen.
constexpr int32_t kBottomMarginPx = 48;

}  // namespace

Rect HoplaKeyboard::DefaultPlace(const Rect& screen) {
  const int32_t width = kKeyboardColumns * kCellWidthPx + kFrameWidthPx;
  const int32_t height = kKeyboardRows * kCellHeightPx + kFrameHeightPx;
  const int32_t left = screen.left + (screen.Width() - width) / 2;
  const int32_t top = screen.bottom - kBottomMarginPx - height;
  return {left, top, left + width, top + height};
}

KeyboardView HoplaKeyboard::View() const {
  KeyboardView view;
  view.caption = Face(language_, kKeyboardCaption);
  view.press_name = Face(language_, "押す");
  view.columns = kKeyboardColumns;
  view.rows = kKeyboardRows;
  for (const KeyDef& key : kKeyboardKeys) {
    KeyCap cap{Face(language_, key.label), key.cells, key.is_shift && shift_};
    // While Shift waits, the letters show what they will type.
    if (shift_ && cap.label.size() == 1 &&
        std::islower(static_cast<unsigned char>(cap.label[0]))) {
      cap.label[0] = static_cast<char>(
          std::toupper(static_cast<unsigned char>(cap.label[0])));
    }
    view.keys.push_back(std::move(cap));
  }
  return view;
}

void HoplaKeyboard::Open(const Rect& place, const Rect& screen) {
  const Rect at =
      place.Width() > 0 && place.Height() > 0 ? place : DefaultPlace(screen);
  open_ = true;
  platform_.ShowKeyboard(View(), at, this);
  site_.KeyboardShown(true);
}

void HoplaKeyboard::Close() {
  if (!open_) return;
  platform_.HideKeyboard();
  OnKeyboardClosed();
}

void HoplaKeyboard::OnKeyClicked(size_t index) {
  if (!open_ || index >= std::size(kKeyboardKeys)) return;
  const KeyDef& key = kKeyboardKeys[index];
  if (key.is_shift) {
    shift_ = !shift_;
  } else {
    Type(key.virtual_key, key.with_shift || shift_);
    shift_ = false;
  }
  platform_.ShowKeyboard(View(), {}, this);
}

// Down and up, inside Shift when it goes with the key: each key is whole
// before the next click, so none is ever left held.
void HoplaKeyboard::Type(uint8_t virtual_key, bool with_shift) {
  if (with_shift) platform_.TypeKey(kVkShift, false);
  platform_.TypeKey(virtual_key, false);
  platform_.TypeKey(virtual_key, true);
  if (with_shift) platform_.TypeKey(kVkShift, true);
}

void HoplaKeyboard::OnKeyboardClosed() {
  open_ = false;
  shift_ = false;
  site_.KeyboardShown(false);
}

void HoplaKeyboard::OnKeyboardPlaced(const Rect& window) {
  site_.KeyboardPlaced(window);
}

}  // namespace hopla
