// A horizontal slider with a range. Moving it, by the user or from code,
// clamps the position to the range and runs its change handler; setting the
// position it already has runs nothing.
#ifndef HOPLA_TOOLKIT_TRACK_BAR_H_
#define HOPLA_TOOLKIT_TRACK_BAR_H_

#include <atomic>
#include <cstdint>

#include "toolkit/control.h"

namespace hopla {

class TrackBar : public Control {
 public:
  TrackBar(Application& app, Control& parent, std::string name,
           const WidgetArgs& desc);

  int32_t Min() const { return min_; }
  int32_t Max() const { return max_; }
  int32_t Position() const { return position_.load(std::memory_order_relaxed); }
  void SetPosition(int32_t position);

  NotifyEvent on_change;

 protected:
  void OnUserPosition(int32_t position) override;

 private:
  int32_t min_;
  int32_t max_;
  std::atomic<int32_t> position_;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_TRACK_BAR_H_
