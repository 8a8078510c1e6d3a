#include "toolkit/track_bar.h"

#include <algorithm>

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetSpec AsTrackBar(WidgetSpec desc) {
  desc.kind = WidgetKind::kTrackBar;
  desc.position = std::clamp(desc.position, desc.min, desc.max);
  return desc;
}
}  // namespace

TrackBar::TrackBar(Application& app, Control& parent, std::string name,
                   const WidgetSpec& desc)
    : Control(app, &parent, std::move(name), AsTrackBar(desc)),
      spec_min_(desc.min),
      spec_max_(desc.max),
      position_(std::clamp(desc.position, desc.min, desc.max)) {}

void TrackBar::SetPosition(int32_t position) {
  position = std::clamp(position, spec_min_, spec_max_);
  if (Position() == position) return;
  position_.store(position, std::memory_order_relaxed);
  peer().SetPosition(position);
  if (on_change) on_change(*this);
}

void TrackBar::OnUserPosition(int32_t position) {
  app().Guard([&] { SetPosition(position); });
}

}  // namespace hopla
