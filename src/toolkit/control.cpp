#include "toolkit/control.h"

#include "toolkit/application.h"

namespace hopla {

namespace {
// A form lives in the application's window, a control in its parent.
NativeWidget* ParentPeer(Application& app, NativeWidget* parent,
                         const WidgetArgs& desc) {
  return desc.kind == WidgetKind::kForm ? &app.Peer() : parent;
}
}  // namespace

Control::Control(Application& app, Control* parent, std::string name,
                 const WidgetArgs& desc)
    : Component(std::move(name)),
      app_(app),
      parent_(parent),
      desc_(app.Translated(desc)),
      peer_(app.platform().CreateWidget(
          desc_,
          ParentPeer(app, parent == nullptr ? nullptr : parent->peer_.get(),
                     desc),
          this)) {}

Control::~Control() = default;

void Control::SetCaption(const std::string& caption) {
  const std::string shown = app_.Translate(caption);
  if (desc_.caption == shown) return;
  desc_.caption = shown;
  peer_->SetCaption(shown);
}

void Control::SetBounds(const Rect& bounds) {
  if (desc_.bounds == bounds) return;
  desc_.bounds = bounds;
  peer_->SetBounds(bounds);
}

void Control::SetVisible(bool visible) {
  if (desc_.visible == visible) return;
  desc_.visible = visible;
  peer_->SetVisible(visible);
}

void Control::SetEnabled(bool enabled) {
  if (desc_.enabled == enabled) return;
  desc_.enabled = enabled;
  peer_->SetEnabled(enabled);
}

}  // namespace hopla
