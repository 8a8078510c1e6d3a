#include "toolkit/simple_controls.h"

#include "toolkit/application.h"

namespace hopla {

WidgetSpec WithKind(WidgetSpec desc, WidgetKind kind) {
  desc.kind = kind;
  return desc;
}

void PushButton::OnUserClicked() {
  app().Guard([&] {
    if (on_click) on_click(*this);
  });
}

}  // namespace hopla
