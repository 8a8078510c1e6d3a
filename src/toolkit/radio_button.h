// A radio button. Checking it, by the user or from code, clears the other
// buttons of its group and runs its click handler.
#ifndef HOPLA_TOOLKIT_RADIO_BUTTON_H_
#define HOPLA_TOOLKIT_RADIO_BUTTON_H_

#include <atomic>
#include <vector>

#include "toolkit/control.h"

namespace hopla {

class RadioButton;

// The buttons that exclude each other (those of one parent).
class RadioGroup {
 public:
  void Add(RadioButton* button) { buttons_.push_back(button); }
  // Clears every button of the group but `checked`.
  void ClearOthers(RadioButton* checked);

 private:
  std::vector<RadioButton*> buttons_;
};

class RadioButton : public Control {
 public:
  RadioButton(Application& app, Control& parent, RadioGroup& group,
              std::string name, const WidgetArgs& desc);

  // Safe to read from any thread.
  bool Checked() const { return checked_.load(std::memory_order_relaxed); }
  void SetChecked(bool checked);

  NotifyEvent on_click;

 protected:
  void OnUserChecked(bool checked) override;

 private:
  friend class RadioGroup;
  void Clear();

  RadioGroup& group_;
  std::atomic<bool> checked_;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_RADIO_BUTTON_H_
