#include "platform/win32/widget_factory.h"

#include <stdexcept>

#include "platform/win32/app_window.h"
#include "platform/win32/button_widgets.h"
#include "platform/win32/custom_widget.h"
#include "platform/win32/form_widget.h"
#include "platform/win32/text_widgets.h"
#include "platform/win32/trackbar_widget.h"

namespace hopla::win32 {

std::unique_ptr<NativeWidget> MakeWidget(const WidgetArgs& desc,
                                         NativeWidget* parent,
                                         WidgetEvents* events,
                                         ExceptionTrap& trap) {
  std::unique_ptr<NativeWidget> widget;
  switch (desc.kind) {
    case WidgetKind::kApplication:
      widget = std::make_unique<Win32AppWindow>(desc, events, trap);
      break;
    case WidgetKind::kForm:
      widget = std::make_unique<Win32Form>(desc, parent, events, trap);
      break;
    case WidgetKind::kCheckBox:
      widget = std::make_unique<Win32CheckBox>(desc, parent, events, trap);
      break;
    case WidgetKind::kRadioButton:
      widget = std::make_unique<Win32RadioButton>(desc, parent, events, trap);
      break;
    case WidgetKind::kTrackBar:
      widget = std::make_unique<Win32TrackBar>(desc, parent, events, trap);
      break;
    case WidgetKind::kLabel:
      widget = std::make_unique<Win32Label>(desc, parent, events, trap);
      break;
    case WidgetKind::kEdit:
      widget = std::make_unique<Win32Edit>(desc, parent, events, trap);
      break;
    case WidgetKind::kGroupBox:
      widget = std::make_unique<Win32GroupBox>(desc, parent, events, trap);
      break;
    case WidgetKind::kPushButton:
      widget = std::make_unique<Win32PushButton>(desc, parent, events, trap);
      break;
    case WidgetKind::kCustom:
      widget = std::make_unique<Win32Custom>(desc, parent, events, trap);
      break;
  }
  if (widget == nullptr) throw std::invalid_argument("unknown widget kind");
  // What a handler threw while the window was being made comes out here.
  trap.RethrowPending();
  return widget;
}

}  // namespace hopla::win32
