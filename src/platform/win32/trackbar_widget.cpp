#include "platform/win32/trackbar_widget.h"

#include <utility>

namespace hopla::win32 {

Win32TrackBar::Win32TrackBar(const WidgetArgs& desc, NativeWidget* parent,
                             WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  Attach(CreateChildWindow(TRACKBAR_CLASSW,
                           TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP,
                           0, desc, parent),
         TooltipOf(parent));
  SendMessageW(window(), TBM_SETRANGEMIN, FALSE, desc.min);
  SendMessageW(window(), TBM_SETRANGEMAX, TRUE, desc.max);
  SetPosition(desc.position);
  SetHint(desc.hint);
}

int32_t Win32TrackBar::Current() const {
  return static_cast<int32_t>(SendMessageW(window(), TBM_GETPOS, 0, 0));
}

void Win32TrackBar::SetPosition(int32_t position) {
  // Some trackbar versions answer TBM_SETPOS with a scroll notification.
  const bool outer = std::exchange(setting_, true);
  SendMessageW(window(), TBM_SETPOS, TRUE, position);
  last_position_ = Current();
  setting_ = outer;
}

void Win32TrackBar::OnScroll() {
  if (setting_) return;
  const int32_t position = Current();
  if (position == last_position_) return;
  last_position_ = position;
  Notify([position](WidgetEvents& e) { e.OnUserPosition(position); });
}

}  // namespace hopla::win32
