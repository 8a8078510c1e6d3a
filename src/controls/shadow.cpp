#include "controls/shadow.h"

namespace hopla {

namespace {
template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TShadow::SetColor(Color color) {
  if (Store(color_, color)) Invalidate();
}

void TShadow::SetOffsetLeft(int32_t offset) {
  if (Store(offset_left_, offset)) Invalidate();
}

void TShadow::SetOffsetTop(int32_t offset) {
  if (Store(offset_top_, offset)) Invalidate();
}

void TShadow::SetVisible(bool visible) {
  if (Store(visible_, visible)) Invalidate();
}

void TShadow::Invalidate() {
  if (OnChange) OnChange(*this);
}

}  // namespace hopla
