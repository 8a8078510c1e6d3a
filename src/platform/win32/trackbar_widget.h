// The peer of a slider: a horizontal trackbar with a tick per position below
// the track.
#ifndef HOPLA_PLATFORM_WIN32_TRACKBAR_WIDGET_H_
#define HOPLA_PLATFORM_WIN32_TRACKBAR_WIDGET_H_

#include "platform/win32/widget_base.h"

namespace hopla::win32 {

class Win32TrackBar final : public Win32Widget {
 public:
  Win32TrackBar(const WidgetArgs& desc, NativeWidget* parent,
                WidgetEvents* events, ExceptionTrap& trap);
  // Moves the thumb without reporting it; the control clamps to its range.
  void SetPosition(int32_t position) override;

 private:
  // Reports the user's moves once per new position, however many scroll
  // notifications (track, end of track) a move sends.
  void OnScroll() override;
  int32_t Current() const;

  int32_t last_position_ = 0;
  bool setting_ = false;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_TRACKBAR_WIDGET_H_
