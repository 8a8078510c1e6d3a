#include "toolkit/radio_button.h"

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetArgs AsRadioButton(WidgetArgs desc) {
  desc.kind = WidgetKind::kRadioButton;
  return desc;
}
}  // namespace

void RadioGroup::ClearOthers(RadioButton* checked) {
  for (RadioButton* button : buttons_) {
    if (button != checked) button->Clear();
  }
}

RadioButton::RadioButton(Application& app, Control& parent, RadioGroup& group,
                         std::string name, const WidgetArgs& desc)
    : Control(app, &parent, std::move(name), AsRadioButton(desc)),
      group_(group),
      checked_(desc.checked) {
  group_.Add(this);
}

void RadioButton::SetChecked(bool checked) {
  if (Checked() == checked) return;
  checked_.store(checked, std::memory_order_relaxed);
  peer().SetChecked(checked);
  if (!checked) return;
  group_.ClearOthers(this);
  if (on_click) on_click(*this);
}

void RadioButton::Clear() {
  if (!Checked()) return;
  checked_.store(false, std::memory_order_relaxed);
  peer().SetChecked(false);
}

void RadioButton::OnUserChecked(bool checked) {
  app().Guard([&] { SetChecked(checked); });
}

}  // namespace hopla
