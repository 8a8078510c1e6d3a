// Controls with no state of their own beyond what every control has: labels,
// frames, push buttons and single-line edits.
#ifndef HOPLA_TOOLKIT_SIMPLE_CONTROLS_H_
#define HOPLA_TOOLKIT_SIMPLE_CONTROLS_H_

#include <functional>
#include <string>

#include "toolkit/control.h"

namespace hopla {

WidgetArgs WithKind(WidgetArgs desc, WidgetKind kind);

class Label : public Control {
 public:
  Label(Application& app, Control& parent, std::string name,
        const WidgetArgs& desc)
      : Control(app, &parent, std::move(name),
                WithKind(desc, WidgetKind::kLabel)) {}

  NotifyEvent on_click;
  std::function<void(Component& sender, Point at)> on_mouse_move;

 protected:
  void OnUserClicked() override;
  void OnMouseMove(Point at) override;
};

class GroupBox : public Control {
 public:
  GroupBox(Application& app, Control& parent, std::string name,
           const WidgetArgs& desc)
      : Control(app, &parent, std::move(name),
                WithKind(desc, WidgetKind::kGroupBox)) {}
};

class PushButton : public Control {
 public:
  PushButton(Application& app, Control& parent, std::string name,
             const WidgetArgs& desc)
      : Control(app, &parent, std::move(name),
                WithKind(desc, WidgetKind::kPushButton)) {}

  NotifyEvent on_click;

 protected:
  void OnUserClicked() override;
};

// A single-line edit; its text is its caption.
class Edit : public Control {
 public:
  Edit(Application& app, Control& parent, std::string name,
       const WidgetArgs& desc)
      : Control(app, &parent, std::move(name),
                WithKind(desc, WidgetKind::kEdit)) {}

  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_SIMPLE_CONTROLS_H_
