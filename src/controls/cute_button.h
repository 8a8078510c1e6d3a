// TCuteButton: a push button whose look follows the pointer. It sits flat
// with a thin raised rim, rises under the pointer or with the focus, sinks
// while the left button holds it, and tells its owner when the pointer
// enters and leaves.
#ifndef HOPLA_CONTROLS_CUTE_BUTTON_H_
#define HOPLA_CONTROLS_CUTE_BUTTON_H_

#include <string>

#include "toolkit/panel.h"

namespace hopla {

inline constexpr int32_t kCuteButtonWidth = 75;
inline constexpr int32_t kCuteButtonHeight = 25;

class TCuteButton : public Panel {
 public:
  // `desc` gives the place, caption and font; a zero size takes the
  // button's own 75 x 25.
  TCuteButton(Application& app, Control& parent, std::string name,
              WidgetArgs desc);

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);

  NotifyEvent OnMouseEnter;
  NotifyEvent OnMouseLeave;

 protected:
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  bool KeyAccel(uint32_t character) override;
  void KeyDown(uint32_t& key) override;
  void KeyUp(uint32_t& key) override;
  void DoEnter() override;
  void DoExit() override;
  void MouseDown(MouseButtonKind button, Point at) override;
  void MouseUp(MouseButtonKind button, Point at) override;

 private:
  bool flat_ = false;
};

// The character after the first single ampersand of `caption`, lower-cased
// when it is an ASCII letter; 0 when there is none.
uint32_t MnemonicOf(const std::string& caption);

}  // namespace hopla

#endif  // HOPLA_CONTROLS_CUTE_BUTTON_H_
