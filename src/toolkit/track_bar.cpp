#include "toolkit/track_bar.h"

#include <algorithm>

#include "toolkit/application.h"

namespace hopla {

namespace {
WidgetSpec AsTrackBar(WidgetSpec spec) {
  spec.kind = WidgetKind::kTrackBar;
  spec.position = std::clamp(spec.position, spec.min, spec.max);
  return spec;
}
}  // namespace

TrackBar::TrackBar(Application& app, Control& parent, std::string name,
                   const WidgetSpec& spec)
    : Control(app, &parent, std::move(name), AsTrackBar(spec)),
      spec_min_(spec.min),
      spec_max_(spec.max),
      position_(std::clamp(spec.position, spec.min, spec.max)) {}

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
