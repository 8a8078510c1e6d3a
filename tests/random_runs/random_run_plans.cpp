// What will happen in a random run, planned before it starts from the
// run's dice: the person's presses and clicks, the close, the PC's troubles,
// a carer's pause and keyboard.
#include "random_runs/random_run_parts.h"

namespace hopla::random_runs {
namespace detail {

// --- What will happen ----------------------------------------------------

void RandomRun::PlanPresses(int64_t until_ms) {
  int64_t at = dice_.Between(0, 3000);
  while (at < until_ms) {
    const int64_t kind = dice_.Between(1, 100);
    const int64_t length = kind <= 5    ? dice_.Between(5, 40)
                           : kind <= 60 ? dice_.Between(40, 250)
                           : kind <= 90 ? dice_.Between(350, 1500)
                                        : dice_.Between(2000, 7000);
    desk_.HoldSwitch(at, at + length, device_);
    at += length + dice_.Between(60, 2500);
  }
  if (dice_.Percent(8) && device_.kind == SwitchKind::kJoystick) {
    const int64_t from = dice_.Between(0, until_ms);
    const int64_t gone = dice_.Between(200, 4000);
    desk_.FailSwitch(from, from + gone, device_.joystick);
    Note("the switch is unplugged from " + std::to_string(from) + " ms for " +
         std::to_string(gone) + " ms");
  }
}

void RandomRun::PlanClicks(int64_t until_ms) {
  for (int64_t i = dice_.Between(0, 8); i > 0; --i) {
    Click(dice_.Between(200, until_ms));
  }
  for (int64_t i = dice_.Percent(30) ? dice_.Between(1, 3) : 0; i > 0; --i) {
    ClickInDialog(dice_.Between(200, until_ms));
  }
}

// The extended settings dialog, opened from the system menu: another kind
// of switch (pressed within its 15 s, or not), the bubble, the hop, the
// element stepping or the stop with a click.
void RandomRun::ClickInDialog(int64_t at_ms) {
  const int64_t which = dice_.Between(0, 1000);
  const bool confirm = dice_.Percent(50);
  const int64_t press_after = dice_.Between(500, 12000);
  events_.insert({at_ms, {"the person opens the extended settings", [this] {
                            process_->PostAt(desk_.Now(), FormWindow(),
                                             kWmSysCommand,
                                             kExtendedSettingsCommand, 0);
                          }}});
  process_->At(at_ms + 300, [this, which, confirm, press_after] {
    ExtendedDialog* dialog =
        hopla_ == nullptr ? nullptr : hopla_->ExtendedSettingsDialog();
    if (dialog == nullptr || desk_.OpenMessageBoxes() > 0) return;
    const auto peer = [this](hopla::Control& control) {
      return desk_.Widget(control.Handle());
    };
    const ExtendedSettings before = hopla_->Extended();
    switch (which % 3) {
      case 0: {
        RadioButton* kinds[] = {&dialog->JoystickRadio, &dialog->KeyRadio,
                                &dialog->MouseRadio};
        RadioButton* kind = kinds[(which / 3) % 3];
        if (kind->Checked() || !peer(*kind)->UserClick()) return;
        const SwitchChoice now = hopla_->Extended().switch_choice;
        Note("the person chooses switch kind " +
             std::to_string(static_cast<int>(now.kind)) +
             (confirm ? " and presses it" : " and does not press it"));
        if (!confirm) return;
        desk_.HoldSwitch(desk_.Now() + press_after,
                         desk_.Now() + press_after + 150, now);
        PersonSet("拡張設定/スイッチ",
                  std::to_string(static_cast<int>(now.kind)));
        PersonSet("拡張設定/キー", std::to_string(now.key));
        PersonSet("拡張設定/マウスボタン",
                  std::to_string(static_cast<int>(now.mouse_button)));
        return;
      }
      case 1:
        if (!peer(dialog->BubbleCheckBox)->UserClick()) return;
        PersonSet("拡張設定/吹き出し", before.bubble ? "0" : "1");
        return;
      default: {
        // The aids that look for elements, or the stop with a click.
        const int64_t aid = (which / 3) % 3;
        CheckBox& box = aid == 0   ? dialog->HopCheckBox
                        : aid == 1 ? dialog->ElementStepCheckBox
                                   : dialog->StopClickCheckBox;
        if (!peer(box)->UserClick()) return;
        if (aid == 0) PersonSet("拡張設定/要素へ跳ぶ", before.hop ? "0" : "1");
        if (aid == 1) {
          PersonSet("拡張設定/要素をたどる", before.element_step ? "0" : "1");
        }
        if (aid == 2) {
          PersonSet("拡張設定/止まってクリック", before.stop_click ? "0" : "1");
        }
        return;
      }
    }
  });
}

void RandomRun::PlanClose(int64_t until_ms) {
  const int64_t plan = dice_.Between(1, 100);
  if (plan <= 20) return;  // only the last close, at the end
  moment_way_ = dice_.Pick(kWays);
  moment_ = plan <= 55 ? Moment::kAnyTime : dice_.Pick(kMoments);
  // A third of them during the start-up.
  moment_from_ms_ =
      dice_.Percent(35) ? dice_.Between(0, 2500) : dice_.Between(0, until_ms);
  Note(std::string(moment_way_.name) + " planned from " +
       std::to_string(moment_from_ms_) + " ms");
}

void RandomRun::PlanTroubles(int64_t until_ms) {
  for (int64_t i = dice_.Between(0, 4); i > 0; --i) {
    const int64_t at = dice_.Between(0, until_ms);
    switch (dice_.Between(1, 6)) {
      case 1:
        events_.insert({at, {"JoyToKey hangs, or answers again", [this] {
                               if (joytokey_ == kNoWindow) return;
                               hung_joytokey_ = !hung_joytokey_;
                               desk_.SetHung(joytokey_, hung_joytokey_);
                             }}});
        break;
      case 2:
        events_.insert({at, {"JoyToKey vanishes", [this] {
                               desk_.RemoveWindow(joytokey_);
                               joytokey_ = kNoWindow;
                             }}});
        break;
      case 3:
        events_.insert({at, {"JoyToKey takes 600 ms over each message", [this] {
                               desk_.SetBusy(joytokey_, 600);
                             }}});
        break;
      case 4:
        if (others_.empty()) break;
        events_.insert({at, {"a window of another program hangs", [this] {
                               desk_.SetHung(others_.front(), true);
                               window_hung_ = true;
                             }}});
        break;
      case 5:
        if (file_untouchable_) break;
        events_.insert({at, {"the settings file refuses writes", [this] {
                               desk_.RefuseWrites(kSettingsFile, true);
                             }}});
        events_.insert({at + dice_.Between(100, 8000),
                        {"the settings file takes writes again", [this] {
                           desk_.RefuseWrites(kSettingsFile, false);
                         }}});
        break;
      default:
        if (joytokey_folders_.empty()) break;
        events_.insert({at, {"JoyToKey is started by hand", [this] {
                               if (joytokey_ != kNoWindow) return;
                               joytokey_ = OpenJoyToKey();
                             }}});
        break;
    }
  }
}

// A carer pauses with the hot key now and then, and ends the pause with it
// or the menu, or leaves the end to the person's hold (or to the close);
// and opens the keyboard.
void RandomRun::PlanPause(int64_t until_ms) {
  // Now and then the keyboard is opened from the menu: the person's clicks
  // may land on its keys.
  if (pause_dice_.Percent(30)) {
    events_.insert({pause_dice_.Between(0, until_ms),
                    {"the carer opens the keyboard from the menu", [this] {
                       const WindowHandle form = FormWindow();
                       if (form == kNoWindow) return;
                       process_->PostAt(desk_.Now(), form, kWmSysCommand,
                                        kKeyboardCommand, 0);
                     }}});
  }
  if (!pause_dice_.Percent(30)) return;
  const int64_t at = pause_dice_.Between(0, until_ms);
  events_.insert({at, {"a carer pauses with Ctrl+Alt+P", [this] {
                         desk_.PressHotKey(desk_.Now(), kPauseHotKeyModifiers,
                                           'P');
                       }}});
  const int64_t end = at + pause_dice_.Between(200, 20000);
  switch (pause_dice_.Between(1, 3)) {
    case 1:
      events_.insert({end, {"the carer presses Ctrl+Alt+P again", [this] {
                              desk_.PressHotKey(desk_.Now(),
                                                kPauseHotKeyModifiers, 'P');
                            }}});
      break;
    case 2:
      events_.insert({end, {"the carer clicks 一時停止 in the menu", [this] {
                              const WindowHandle form = FormWindow();
                              if (form == kNoWindow) return;
                              process_->PostAt(desk_.Now(), form, kWmSysCommand,
                                               kPauseCommand, 0);
                            }}});
      break;
    default:
      break;
  }
}

}  // namespace detail
}  // namespace hopla::random_runs
