// Hopla's keyboard: a window of keys that a person with one switch clicks
// as any button (walking there, or with the hop or the element stepping);
// each click types its key into the window in front, as a hardware keyboard
// would, romaji through the input method included. Shift is one-shot: it
// lights up and goes with the next key. The keyboard opens where it was last
// left, in the size it was given.
#ifndef HOPLA_ENGINE_KEYBOARD_H_
#define HOPLA_ENGINE_KEYBOARD_H_

#include <cstddef>

#include "platform/keyboard_view.h"
#include "platform/platform.h"
#include "shared/texts.h"

namespace hopla {

inline constexpr char kKeyboardCaption[] = "Hoplaのキーボード";

// What the keyboard tells the window that owns it.
class KeyboardSite {
 public:
  virtual ~KeyboardSite() = default;
  // It was moved or sized, or opened or closed (to keep in the settings and
  // show in the menu).
  virtual void KeyboardPlaced(const Rect& window) = 0;
  virtual void KeyboardShown(bool open) = 0;
};

class HoplaKeyboard : public KeyboardEvents {
 public:
  HoplaKeyboard(Platform& platform, KeyboardSite& site, Language language)
      : platform_(platform), site_(site), language_(language) {}

  bool IsOpen() const { return open_; }
  // At `place` (the whole window); an empty place puts it at the bottom of
  // the screen `screen`, across the middle.
  void Open(const Rect& place, const Rect& screen);
  void Close();
  // Where it opens when nothing was kept.
  static Rect DefaultPlace(const Rect& screen);

  // KeyboardEvents
  void OnKeyClicked(size_t index) override;
  void OnKeyboardClosed() override;
  void OnKeyboardPlaced(const Rect& window) override;

 private:
  KeyboardView View() const;
  void Type(uint8_t virtual_key, bool with_shift);

  Platform& platform_;
  KeyboardSite& site_;
  Language language_;
  bool open_ = false;
  bool shift_ = false;  // Shift waits for its key
};

}  // namespace hopla

#endif  // HOPLA_ENGINE_KEYBOARD_H_
