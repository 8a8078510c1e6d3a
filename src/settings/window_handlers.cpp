// The window's own handlers: the stepping buttons, the cursor over the link,
// the link, the minimise button and the banner.
#include "settings/distributor.h"
#include "settings/settings_window.h"

namespace hopla {

std::string BannerText(const std::optional<std::string>& account,
                       const Application& app) {
  auto face = [&app](const char* sentence) { return app.Translate(sentence); };
  const std::string two = face("\u3000\u3000");
  std::string text = face("スイッチを押す長短でマウスやキー操作ができます。") +
                     two + face("設定をしましたら、最小化でご利用ください。") +
                     two + face("カンパ歓迎です。");
  if (account) {
    text += two + face("郵便郵便振替口座") + two + *account + face("\u3000") +
            face("「ポムラボ。」");
  }
  return text + "     ";
}

void SettingsWindow::BindWindowHandlers() {
  using Handler = void (SettingsWindow::*)(Component&);
  struct Stepper {
    TCuteButton& button;
    Handler down, enter, leave;
  };
  const Stepper steppers[] = {
      {CuteButton1, &SettingsWindow::CuteButton1MouseDown,
       &SettingsWindow::CuteButton1MouseEnter,
       &SettingsWindow::CuteButton1MouseLeave},
      {CuteButton2, &SettingsWindow::CuteButton2MouseDown,
       &SettingsWindow::CuteButton2MouseEnter,
       &SettingsWindow::CuteButton2MouseLeave},
      {CuteButton3, &SettingsWindow::CuteButton3MouseDown,
       &SettingsWindow::CuteButton3MouseEnter,
       &SettingsWindow::CuteButton3MouseLeave},
      {CuteButton4, &SettingsWindow::CuteButton4MouseDown,
       &SettingsWindow::CuteButton4MouseEnter,
       &SettingsWindow::CuteButton4MouseLeave},
      {CuteButton5, &SettingsWindow::CuteButton5MouseDown,
       &SettingsWindow::CuteButton5MouseEnter,
       &SettingsWindow::CuteButton5MouseLeave},
      {CuteButton6, &SettingsWindow::CuteButton6MouseDown,
       &SettingsWindow::CuteButton6MouseEnter,
       &SettingsWindow::CuteButton6MouseLeave},
      {CuteButton7, &SettingsWindow::CuteButton7MouseDown,
       &SettingsWindow::CuteButton7MouseEnter,
       &SettingsWindow::CuteButton7MouseLeave},
      {CuteButton8, &SettingsWindow::CuteButton8MouseDown,
       &SettingsWindow::CuteButton8MouseEnter,
       &SettingsWindow::CuteButton8MouseLeave},
  };
  auto bind = [this](Handler handler) {
    return [this, handler](Component& sender) { (this->*handler)(sender); };
  };
  for (const Stepper& s : steppers) {
    // Any mouse button steps; the handler does not ask which.
    s.button.on_mouse_down = [this, down = s.down](Component& sender,
                                                   MouseButtonKind, Point) {
      (this->*down)(sender);
    };
    s.button.OnMouseEnter = bind(s.enter);
    s.button.OnMouseLeave = bind(s.leave);
  }
  Label3.on_mouse_move = [this](Component& sender, Point at) {
    Label3MouseMove(sender, at);
  };
  on_mouse_move = [this](Component& sender, Point at) {
    FormMouseMove(sender, at);
  };
  Label3.on_click = bind(&SettingsWindow::Label3Click);
  SaishoukaButton.on_click = bind(&SettingsWindow::SaishoukaButtonClick);
  on_show = bind(&SettingsWindow::FormShow);
  MarqueeLabel1.OnEnd = bind(&SettingsWindow::MarqueeLabel1End);
}

void SettingsWindow::Grow(TCuteButton& button, int32_t sign) {
  Rect r = button.Bounds();
  r.right += sign * kHoverGrowthPx;
  r.bottom += sign * kHoverGrowthPx;
  button.SetBounds(r);
}

void SettingsWindow::Label3MouseMove(Component& /*sender*/, Point /*at*/) {
  app().SetCursorOverride(CursorShape::kHandPoint);
}

void SettingsWindow::FormMouseMove(Component& /*sender*/, Point /*at*/) {
  app().SetCursorOverride(CursorShape::kArrow);
}

// What the shell answers is not looked at: no box when it cannot open.
void SettingsWindow::Label3Click(Component& /*sender*/) {
  Platform& platform = app().platform();
  platform.ShellOpen(ReadDistributorValues(platform).home_page.value_or(
      app().Translate(kHelpFile)));
}

// The click has just made this window the foreground one, normally; the
// restore command brings back whichever window it was.
void SettingsWindow::SaishoukaButtonClick(Component& /*sender*/) {
  Platform& platform = app().platform();
  const WindowHandle foreground = platform.ForegroundWindow();
  State().MinimisedWindow = foreground;
  platform.SendToWindow(foreground, kWmSysCommand, kScMinimize, 0,
                        kMinimiseSendTimeoutMs);
}

// Runs at every showing; a banner already running goes on where it is.
void SettingsWindow::FormShow(Component& /*sender*/) {
  MarqueeLabel1.SetDirection(mlRightToLeft);
  MarqueeLabel1.SetText(
      BannerText(ReadDistributorValues(app().platform()).account, app()));
  MarqueeLabel1.SetSpeed(100);
  MarqueeLabel1.SetSteps(500);
  MarqueeLabel1.Start(0);
}

void SettingsWindow::MarqueeLabel1End(Component& sender) { FormShow(sender); }

}  // namespace hopla
