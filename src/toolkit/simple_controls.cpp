#include "toolkit/simple_controls.h"

#include "toolkit/application.h"

namespace hopla {

WidgetSpec WithKind(WidgetSpec spec, WidgetKind kind) {
  spec.kind = kind;
  return spec;
}

void PushButton::OnUserClicked() {
  app().Guard([&] {
    if (on_click) on_click(*this);
  });
}

}  // namespace hopla
