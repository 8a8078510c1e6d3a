// Makes the native peer of each kind of toolkit control.
#ifndef HOPLA_PLATFORM_WIN32_WIDGET_FACTORY_H_
#define HOPLA_PLATFORM_WIN32_WIDGET_FACTORY_H_

#include <memory>

#include "platform/native_widget.h"
#include "platform/win32/exception_trap.h"

namespace hopla::win32 {

// UI thread only. `parent` is null for a form, and the form or group box
// peer for a control. Throws when the window cannot be made.
std::unique_ptr<NativeWidget> MakeWidget(const WidgetArgs& desc,
                                         NativeWidget* parent,
                                         WidgetEvents* events,
                                         ExceptionTrap& trap);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_WIDGET_FACTORY_H_
