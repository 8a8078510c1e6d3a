#include "toolkit/control.h"

#include "toolkit/application.h"

namespace hopla {

Control::Control(Application& app, Control* parent, std::string name,
                 const WidgetSpec& spec)
    : Component(std::move(name)),
      app_(app),
      spec_(spec),
      peer_(app.platform().CreateWidget(
          spec, parent == nullptr ? nullptr : parent->peer_.get(), this)) {}

Control::~Control() = default;

void Control::SetCaption(const std::string& caption) {
  if (spec_.caption == caption) return;
  spec_.caption = caption;
  peer_->SetCaption(caption);
}

void Control::SetBounds(const Rect& bounds) {
  if (spec_.bounds == bounds) return;
  spec_.bounds = bounds;
  peer_->SetBounds(bounds);
}

void Control::SetVisible(bool visible) {
  if (spec_.visible == visible) return;
  spec_.visible = visible;
  peer_->SetVisible(visible);
}

void Control::SetEnabled(bool enabled) {
  if (spec_.enabled == enabled) return;
  spec_.enabled = enabled;
  peer_->SetEnabled(enabled);
}

}  // namespace hopla
