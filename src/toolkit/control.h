// A control of a form: the portable model that holds its state, mirrored
// into a native peer that the platform makes.
#ifndef HOPLA_TOOLKIT_CONTROL_H_
#define HOPLA_TOOLKIT_CONTROL_H_

#include <memory>
#include <string>

#include "platform/native_widget.h"
#include "toolkit/component.h"

namespace hopla {

class Application;

class Control : public Component, protected WidgetEvents {
 public:
  // Makes the native peer at once, as a child of `parent` (none for a form).
  Control(Application& app, Control* parent, std::string name,
          const WidgetArgs& desc);
  ~Control() override;

  WindowHandle Handle() const { return peer_->Handle(); }
  const std::string& Caption() const { return desc_.caption; }
  void SetCaption(const std::string& caption);
  const Rect& Bounds() const { return desc_.bounds; }
  void SetBounds(const Rect& bounds);
  bool Visible() const { return desc_.visible; }
  void SetVisible(bool visible);
  bool Enabled() const { return desc_.enabled; }
  void SetEnabled(bool enabled);
  const std::string& Hint() const { return desc_.hint; }
  const FontArgs& Font() const { return desc_.font; }
  // Whether the control's parent is visible; true for a form.
  bool ParentVisible() const {
    return parent_ == nullptr || parent_->Visible();
  }

 protected:
  Application& app() const { return app_; }
  NativeWidget& peer() { return *peer_; }
  const NativeWidget& peer() const { return *peer_; }
  WidgetArgs& desc() { return desc_; }

 private:
  Application& app_;
  Control* parent_;
  WidgetArgs desc_;
  std::unique_ptr<NativeWidget> peer_;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_CONTROL_H_
