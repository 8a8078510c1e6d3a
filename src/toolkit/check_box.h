// A check box. Changing its state, by the user or from code, runs its click
// handler; setting the state it already has runs nothing.
#ifndef HOPLA_TOOLKIT_CHECK_BOX_H_
#define HOPLA_TOOLKIT_CHECK_BOX_H_

#include <atomic>

#include "toolkit/control.h"

namespace hopla {

class CheckBox : public Control {
 public:
  CheckBox(Application& app, Control& parent, std::string name,
           const WidgetArgs& desc);

  // Safe to read from any thread.
  bool Checked() const { return checked_.load(std::memory_order_relaxed); }
  void SetChecked(bool checked);

  NotifyEvent on_click;

 protected:
  void OnUserChecked(bool checked) override;

 private:
  std::atomic<bool> checked_;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_CHECK_BOX_H_
