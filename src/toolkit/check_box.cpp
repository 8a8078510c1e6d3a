#include "toolkit/check_box.h"

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetArgs AsCheckBox(WidgetArgs desc) {
  desc.kind = WidgetKind::kCheckBox;
  return desc;
}
}  // namespace

CheckBox::CheckBox(Application& app, Control& parent, std::string name,
                   const WidgetArgs& desc)
    : Control(app, &parent, std::move(name), AsCheckBox(desc)),
      checked_(desc.checked) {}

void CheckBox::SetChecked(bool checked) {
  if (Checked() == checked) return;
  checked_.store(checked, std::memory_order_relaxed);
  peer().SetChecked(checked);
  if (on_click) on_click(*this);
}

void CheckBox::OnUserChecked(bool checked) {
  app().Guard([&] { SetChecked(checked); });
}

}  // namespace hopla
