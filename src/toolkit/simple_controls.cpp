#include "toolkit/simple_controls.h"

#include "toolkit/application.h"

namespace hopla {

WidgetArgs WithKind(WidgetArgs desc, WidgetKind kind) {
  desc.kind = kind;
  return desc;
}

void Label::OnUserClicked() {
  app().Guard([&] {
    if (on_click) on_click(*this);
  });
}

void Label::OnMouseMove(Point at) {
  app().Guard([&] {
    if (on_mouse_move) on_mouse_move(*this, at);
  });
}

void PushButton::OnUserClicked() {
  app().Guard([&] {
    if (on_click) on_click(*this);
  });
}

}  // namespace hopla
