// TKeyCatcher: a box that takes the next key pressed while it has the focus
// and shows its name. A click or Tab gives it the focus.
#ifndef HOPLA_CONTROLS_KEY_CATCHER_H_
#define HOPLA_CONTROLS_KEY_CATCHER_H_

#include <cstdint>
#include <string>

#include "toolkit/custom_control.h"

namespace hopla {

// A short name of a virtual key ("Space", "F13", "A", "キー 186").
std::string KeyName(uint32_t virtual_key);

class TKeyCatcher : public CustomControl {
 public:
  TKeyCatcher(Application& app, Control& parent, std::string name,
              const WidgetArgs& desc);

  uint32_t Key() const { return key_; }
  // Shows the key; runs nothing.
  void SetKey(uint32_t virtual_key);

  // A key was taken.
  NotifyEvent on_change;

 protected:
  void KeyDown(uint32_t& key) override;
  void DoEnter() override;
  void DoExit() override;
  void Paint(Canvas& canvas) override;

 private:
  uint32_t key_ = 0;
  bool focused_ = false;
};

}  // namespace hopla

#endif  // HOPLA_CONTROLS_KEY_CATCHER_H_
