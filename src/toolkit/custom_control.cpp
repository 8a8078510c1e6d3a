#include "toolkit/custom_control.h"

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetArgs Custom(WidgetArgs desc) {
  desc.kind = WidgetKind::kCustom;
  return desc;
}

bool Inside(const Rect& bounds, Point at) {
  return at.x >= 0 && at.y >= 0 && at.x < bounds.Width() &&
         at.y < bounds.Height();
}
}  // namespace

CustomControl::CustomControl(Application& app, Control& parent,
                             std::string name, const WidgetArgs& desc)
    : Control(app, &parent, std::move(name), Custom(desc)) {}

bool CustomControl::LeftButtonHeld() const {
  return app().platform().LeftButtonDown();
}

void CustomControl::MouseDown(MouseButtonKind button, Point at) {
  if (on_mouse_down) on_mouse_down(*this, button, at);
}

void CustomControl::MouseUp(MouseButtonKind button, Point at) {
  if (on_mouse_up) on_mouse_up(*this, button, at);
}

void CustomControl::MouseMove(Point at) {
  if (on_mouse_move) on_mouse_move(*this, at);
}

void CustomControl::KeyDown(uint32_t& key) {
  if (on_key_down) on_key_down(*this, key);
}

void CustomControl::KeyUp(uint32_t& key) {
  if (on_key_up) on_key_up(*this, key);
}

void CustomControl::DoEnter() {
  if (on_enter) on_enter(*this);
}

void CustomControl::DoExit() {
  if (on_exit) on_exit(*this);
}

void CustomControl::Click() {
  if (on_click) on_click(*this);
}

void CustomControl::Guarded(const std::function<void()>& body) {
  app().Guard(body);
}

void CustomControl::OnMouseDown(MouseButtonKind button, Point at) {
  Guarded([&] {
    if (button == MouseButtonKind::kLeft) clicked_ = true;
    MouseDown(button, at);
  });
}

// The click comes before the release's own event, and only when the release
// happens over the control (`at` is relative to it, in its own units).
void CustomControl::OnMouseUp(MouseButtonKind button, Point at) {
  Guarded([&] {
    if (button == MouseButtonKind::kLeft && clicked_) {
      clicked_ = false;
      if (Inside(Bounds(), at)) Click();
    }
    MouseUp(button, at);
  });
}

void CustomControl::OnMouseMove(Point at) {
  Guarded([&] { MouseMove(at); });
}
void CustomControl::OnMouseEnter() {
  Guarded([&] { CMMouseEnter(); });
}
void CustomControl::OnMouseLeave() {
  Guarded([&] { CMMouseLeave(); });
}
void CustomControl::OnKeyDown(uint32_t key) {
  Guarded([&] { KeyDown(key); });
}
void CustomControl::OnKeyUp(uint32_t key) {
  Guarded([&] { KeyUp(key); });
}

void CustomControl::OnFocusChanged(bool gained) {
  Guarded([&] {
    if (gained) {
      DoEnter();
    } else {
      DoExit();
    }
  });
}

bool CustomControl::OnDialogChar(uint32_t character) {
  bool taken = false;
  Guarded([&] { taken = KeyAccel(character); });
  return taken;
}

void CustomControl::OnPaint(Canvas& canvas) {
  Guarded([&] { Paint(canvas); });
}

}  // namespace hopla
