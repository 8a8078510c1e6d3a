#include "toolkit/track_bar.h"

#include <algorithm>

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetArgs AsTrackBar(WidgetArgs desc) {
  desc.kind = WidgetKind::kTrackBar;
  desc.position = std::clamp(desc.position, desc.min, desc.max);
  return desc;
}
}  // namespace

TrackBar::TrackBar(Application& app, Control& parent, std::string name,
                   const WidgetArgs& desc)
    : Control(app, &parent, std::move(name), AsTrackBar(desc)),
      min_(desc.min),
      max_(desc.max),
      position_(std::clamp(desc.position, desc.min, desc.max)) {}

void TrackBar::SetPosition(int32_t position) {
  position = std::clamp(position, min_, max_);
  if (Position() == position) return;
  position_.store(position, std::memory_order_relaxed);
  peer().SetPosition(position);
  if (on_change) on_change(*this);
}

void TrackBar::OnUserPosition(int32_t position) {
  app().Guard([&] { SetPosition(position); });
}

}  // namespace hopla
