#include "controls/key_catcher.h"

#include "platform/canvas.h"
#include "platform/types.h"
#include "toolkit/application.h"

namespace hopla {
namespace {

constexpr uint32_t kVkF24 = 0x87;
constexpr uint32_t kVkNumpad0 = 0x60;
constexpr uint32_t kVkNumpad9 = 0x69;
constexpr int32_t kTextLeftPx = 6;
constexpr Color kWhite{255, 255, 255};

}  // namespace

namespace {
// Appended, not added with +: GCC 12 warns falsely on a literal + a string.
std::string Joined(const char* stem, uint32_t number) {
  std::string text(stem);
  text += std::to_string(number);
  return text;
}
}  // namespace

std::string KeyName(uint32_t virtual_key) {
  if ((virtual_key >= '0' && virtual_key <= '9') ||
      (virtual_key >= 'A' && virtual_key <= 'Z')) {
    return std::string(1, static_cast<char>(virtual_key));
  }
  if (virtual_key >= kVkF1 && virtual_key <= kVkF24) {
    return Joined("F", virtual_key - kVkF1 + 1);
  }
  if (virtual_key >= kVkNumpad0 && virtual_key <= kVkNumpad9) {
    return Joined("テンキー", virtual_key - kVkNumpad0);
  }
  switch (virtual_key) {
    case kVkSpace:
      return "Space";
    case kVkReturn:
      return "Enter";
    case kVkTab:
      return "Tab";
    default:
      return Joined("キー ", virtual_key);
  }
}

TKeyCatcher::TKeyCatcher(Application& app, Control& parent, std::string name,
                         const WidgetArgs& desc)
    : CustomControl(app, parent, std::move(name), desc) {}

void TKeyCatcher::SetKey(uint32_t virtual_key) {
  key_ = virtual_key;
  Invalidate();
}

// Shift, Ctrl and Alt alone are never taken: they are how other keys are
// typed, and Alt is how the window's menu opens.
void TKeyCatcher::KeyDown(uint32_t& key) {
  CustomControl::KeyDown(key);
  if (key == 0 || key == kVkShift || key == kVkControl || key == kVkMenu) {
    return;
  }
  SetKey(key);
  if (on_change) on_change(*this);
}

void TKeyCatcher::DoEnter() {
  CustomControl::DoEnter();
  focused_ = true;
  Invalidate();
}

void TKeyCatcher::DoExit() {
  CustomControl::DoExit();
  focused_ = false;
  Invalidate();
}

void TKeyCatcher::Paint(Canvas& canvas) {
  const Point size = canvas.Size();
  const int32_t edge = canvas.Scale(1);
  canvas.FillRect({0, 0, size.x, size.y},
                  canvas.SystemColorOf(SystemColor::kButtonShadow));
  canvas.FillRect({edge, edge, size.x - edge, size.y - edge}, kWhite);
  // The name's words in the program's language ("テンキー 5", "キー 186").
  std::string name = KeyName(key_);
  for (const char* word : {"テンキー", "キー"}) {
    if (name.rfind(word, 0) == 0) {
      name = app().Translate(word) + name.substr(std::string(word).size());
      break;
    }
  }
  const std::string text =
      focused_ ? name + app().Translate("　← 新しいキーを押してください")
               : name;
  const Point extent = canvas.TextExtent(text, Font());
  canvas.DrawString({canvas.Scale(kTextLeftPx), (size.y - extent.y) / 2}, text,
                    Font(), canvas.SystemColorOf(SystemColor::kWindowText));
}

}  // namespace hopla
