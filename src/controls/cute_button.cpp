#include "controls/cute_button.h"

namespace hopla {

namespace {
WidgetArgs ButtonArgs(WidgetArgs desc) {
  desc.tab_stop = true;
  if (desc.bounds.Width() == 0) {
    desc.bounds.right = desc.bounds.left + kCuteButtonWidth;
  }
  if (desc.bounds.Height() == 0) {
    desc.bounds.bottom = desc.bounds.top + kCuteButtonHeight;
  }
  return desc;
}

uint32_t Folded(uint32_t character) {
  return character >= 'A' && character <= 'Z' ? character - 'A' + 'a'
                                              : character;
}
}  // namespace

uint32_t MnemonicOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    return Folded(static_cast<unsigned char>(caption[i + 1]));
  }
  return 0;
}

// Nothing can be placed inside the button; it starts with no outer bevel
// and a raised inner rim.
TCuteButton::TCuteButton(Application& app, Control& parent, std::string name,
                         WidgetArgs desc)
    : Panel(app, parent, std::move(name), ButtonArgs(std::move(desc))) {
  SetBevelOuter(Bevel::kNone);
  SetBevelInner(Bevel::kRaised);
}

void TCuteButton::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  SetBevelInner(flat ? Bevel::kNone : Bevel::kRaised);
}

void TCuteButton::CMMouseEnter() {
  Panel::CMMouseEnter();
  if (OnMouseEnter) OnMouseEnter(*this);
  SetBevelOuter(LeftButtonHeld() ? Bevel::kLowered : Bevel::kRaised);
}

void TCuteButton::CMMouseLeave() {
  Panel::CMMouseLeave();
  if (OnMouseLeave) OnMouseLeave(*this);
  SetBevelOuter(Bevel::kNone);
}

bool TCuteButton::KeyAccel(uint32_t character) {
  const uint32_t mnemonic = MnemonicOf(Caption());
  if (mnemonic != 0 && Folded(character) == mnemonic && Enabled() &&
      ParentVisible()) {
    Click();
    return true;
  }
  return Panel::KeyAccel(character);
}

void TCuteButton::KeyDown(uint32_t& key) {
  Panel::KeyDown(key);
  if ((key == kKeySpace || key == kKeyReturn) && Enabled()) {
    SetBevelOuter(Bevel::kLowered);
    Click();
    SetBevelOuter(Bevel::kRaised);
  }
}

void TCuteButton::KeyUp(uint32_t& key) { Panel::KeyUp(key); }

void TCuteButton::DoEnter() {
  SetBevelOuter(Bevel::kRaised);
  Panel::DoEnter();
}

void TCuteButton::DoExit() {
  Panel::DoExit();
  SetBevelOuter(Bevel::kNone);
}

void TCuteButton::MouseDown(MouseButtonKind button, Point at) {
  if (button == MouseButtonKind::kLeft) SetBevelOuter(Bevel::kLowered);
  Panel::MouseDown(button, at);
}

void TCuteButton::MouseUp(MouseButtonKind button, Point at) {
  if (button == MouseButtonKind::kLeft) SetBevelOuter(Bevel::kNone);
  Panel::MouseUp(button, at);
  ReleaseMouseCapture();
}

}  // namespace hopla
