#include "toolkit/check_box.h"

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetSpec AsCheckBox(WidgetSpec spec) {
  spec.kind = WidgetKind::kCheckBox;
  return spec;
}
}  // namespace

CheckBox::CheckBox(Application& app, Control& parent, std::string name,
                   const WidgetSpec& spec)
    : Control(app, &parent, std::move(name), AsCheckBox(spec)),
      checked_(spec.checked) {}

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
