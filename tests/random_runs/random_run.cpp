#include "random_runs/random_run.h"

#include "random_runs/random_run_parts.h"

namespace hopla::random_runs {
namespace detail {

void RandomRun::Note(const std::string& line) {
  std::lock_guard lock(mutex_);
  script_ += std::to_string(desk_.Now()) + " ms: " + line + "\n";
}

// --- During the run -------------------------------------------------------

WindowHandle RandomRun::FormWindow() const {
  for (const WindowInfo& info : desk_.Windows()) {
    if (info.title.rfind(kWindowCaption, 0) == 0 &&
        info.title.rfind(kApplicationTitle, 0) != 0) {
      return info.handle;
    }
  }
  return kNoWindow;
}

WindowHandle RandomRun::ApplicationWindow() const {
  for (const WindowInfo& info : desk_.Windows()) {
    if (info.title.rfind(kApplicationTitle, 0) == 0) return info.handle;
  }
  return kNoWindow;
}

SimWidget* RandomRun::Control(const std::string& caption, WidgetKind kind,
                              int occurrence) const {
  for (SimWidget* widget : desk_.Widgets()) {
    if (widget->Text() == caption && widget->Kind() == kind &&
        occurrence-- == 0) {
      return widget;
    }
  }
  return nullptr;
}

void RandomRun::PersonSet(const std::string& setting,
                          const std::string& value) {
  std::lock_guard lock(mutex_);
  person_set_[setting].insert(value);
  script_ += std::to_string(desk_.Now()) + " ms: the person sets " + setting +
             " to " + value + "\n";
}

// A click on a control of the window, as the person makes it: only on a
// window that shows, only on a control that can be used, and never while a
// box is open (the program's windows take no click then).
void RandomRun::Click(int64_t at_ms) {
  const int64_t kind = dice_.Between(1, 100);
  const int64_t which = dice_.Between(0, 1000);
  const int32_t position = static_cast<int32_t>(dice_.Between(1, 8));
  process_->At(at_ms, [this, kind, which, position] {
    if (!desk_.IsVisible(FormWindow()) || desk_.OpenMessageBoxes() > 0) return;
    if (kind <= 50) {
      const Toggle& toggle =
          kToggles[static_cast<size_t>(which) % kToggles.size()];
      SimWidget* box = Control(toggle.caption, WidgetKind::kCheckBox);
      if (box == nullptr || !box->Visible() || !box->Enabled()) return;
      const bool ticked = !box->Checked();
      PersonSet(toggle.setting, ticked ? "1" : "0");
      box->UserCheck(ticked);
    } else if (kind <= 65) {
      const Strength& strength =
          kStrengths[static_cast<size_t>(which) % kStrengths.size()];
      SimWidget* radio = Control(strength.caption, WidgetKind::kRadioButton);
      if (radio == nullptr || radio->Checked()) return;
      PersonSet("ブレーキ/強さ", std::to_string(strength.value));
      radio->UserCheck(true);
    } else if (kind <= 80) {
      const size_t slider = static_cast<size_t>(which) % kSliders.size();
      SimWidget* bar =
          Control("", WidgetKind::kTrackBar, static_cast<int>(slider));
      if (bar == nullptr || !bar->UserPosition(position)) return;
      PersonSet(kSliders[slider], std::to_string(position));
    } else if (kind <= 95) {
      const Stepper& step =
          kSteppers[static_cast<size_t>(which) % kSteppers.size()];
      SimWidget* button =
          Control(step.caption, WidgetKind::kCustom, step.occurrence);
      SimWidget* bar = Control("", WidgetKind::kTrackBar, step.slider);
      if (button == nullptr || bar == nullptr) return;
      const int32_t to = std::clamp(bar->Position() + step.delta, 1, 8);
      PersonSet(kSliders[static_cast<size_t>(step.slider)], std::to_string(to));
      button->UserMouseDown(MouseButtonKind::kLeft);
      button->UserMouseUp(MouseButtonKind::kLeft);
    } else if (SimWidget* button = Control("最小化", WidgetKind::kPushButton)) {
      button->UserClick();
    }
  });
}

bool RandomRun::MomentCame(Moment moment) const {
  switch (moment) {
    case Moment::kAnyTime:
      return true;
    case Moment::kSearching:
      return desk_.FindWindowByTitle(std::string(kWindowCaption) +
                                     kSearchingNote) != kNoWindow;
    case Moment::kBoxOpen:
      return desk_.OpenMessageBoxes() > 0;
    case Moment::kStarting: {
      std::lock_guard lock(mutex_);
      return !joytokey_appearing_.empty();
    }
    case Moment::kHolding: {
      const auto held = desk_.HeldInput();
      return std::find(held.begin(), held.end(), "left") != held.end();
    }
    case Moment::kTryingSwitch: {
      // Read while every thread of the program waits; running freely they
      // do not, and it is any time.
      if (options_.free_running) return true;
      const ExtendedDialog* dialog = hopla_ == nullptr || !process_->Running()
                                         ? nullptr
                                         : hopla_->ExtendedSettingsDialog();
      return dialog != nullptr && dialog->Confirming();
    }
  }
  return false;
}

void RandomRun::Leave(const WayOut& way) {
  Note(way.name);
  const int64_t now = desk_.Now();
  switch (way.way) {
    case Way::kPostClose:
      process_->PostAt(now, FormWindow(), kWmClose, 0, 0);
      break;
    case Way::kSendClose:
      process_->SendAt(now, FormWindow(), kWmClose, 0, 0);
      break;
    case Way::kQuitButton:
      process_->At(now, [this] {
        SimWidget* quit = Control("終了", WidgetKind::kPushButton);
        if (quit != nullptr && desk_.OpenMessageBoxes() == 0) {
          quit->UserClick();
        }
      });
      break;
    case Way::kTaskbarClose:
      process_->PostAt(now, ApplicationWindow(), kWmSysCommand, kScClose, 0);
      break;
    case Way::kShutDown:
      process_->SendAt(now, FormWindow(), kWmQueryEndSession, 0, 0);
      // Most shut-downs go on; another program may call one off.
      end_after_answer_ms_ =
          dice_.Percent(80) ? dice_.Between(0, 300) : int64_t{-1};
      break;
  }
}

// One look at the world between two slices: the PC's events that are due,
// JoyToKey's window once started, the planned close at its moment, and the
// end the system makes after a shut-down.
void RandomRun::Look() {
  const int64_t now = desk_.Now();
  while (!events_.empty() && events_.begin()->first <= now) {
    auto event = events_.extract(events_.begin());
    Note(event.mapped().first);
    event.mapped().second();
  }
  {
    std::lock_guard lock(mutex_);
    for (const int64_t due : joytokey_appearing_) {
      if (due > now || joytokey_ != kNoWindow) continue;
      joytokey_ = OpenJoyToKey();
      joytokey_started_.insert(joytokey_);
      script_ += std::to_string(now) + " ms: JoyToKey's window comes\n";
    }
    std::erase_if(joytokey_appearing_,
                  [now](int64_t due) { return due <= now; });
    if (joytokey_told_to_quit_) {
      joytokey_told_to_quit_ = false;
      desk_.RemoveWindow(joytokey_);
      joytokey_ = kNoWindow;
      script_ += std::to_string(now) + " ms: JoyToKey quits\n";
    }
  }
  if (moment_ && now >= moment_from_ms_ && MomentCame(*moment_)) {
    moment_.reset();
    Leave(moment_way_);
  }
  if (end_after_answer_ms_ && process_->LastEndSessionAnswer()) {
    if (*end_after_answer_ms_ < 0) {
      Note("the shut-down is called off");
    } else {
      events_.insert(
          {now + *end_after_answer_ms_,
           {"the system ends the program", [this] { process_->Terminate(); }}});
    }
    end_after_answer_ms_.reset();
  }
}

void RandomRun::LastClose() {
  {
    std::lock_guard lock(mutex_);
    leaving_ = true;
  }
  Note("the last close, from the taskbar");
  process_->PostAt(desk_.Now(), ApplicationWindow(), kWmSysCommand, kScClose,
                   0);
}

RunRecord RandomRun::Record() const {
  RunRecord record;
  record.file_before = file_before_;
  record.file_after = desk_.File(kSettingsFile);
  record.file_untouchable = file_untouchable_;
  record.person_set = person_set_;
  record.joytokey_folders = joytokey_folders_;
  record.terminated = !desk_.TraceOf("terminate").empty();
  record.exited = !process_->Running() && !record.terminated;
  record.threads_left = process_->ThreadsLeftAtExit();
  record.windows_left = process_->WindowsLeftAtExit();
  // A look for elements in a window that hangs cannot end.
  const auto ever_on = [this](const char* key) {
    const auto set = person_set_.find(key);
    return set != person_set_.end() && set->second.count("1") != 0;
  };
  const bool looks_ever_on = hop_on_ || ever_on("拡張設定/要素へ跳ぶ") ||
                             ever_on("拡張設定/要素をたどる");
  record.threads_may_stay =
      threads_may_stay_ || (window_hung_ && looks_ever_on);
  record.silence = process_->LongestSilence();
  record.held_input = desk_.HeldInput();
  if (record.exited) {
    for (WindowHandle window : joytokey_started_) {
      if (window == joytokey_ && !hung_joytokey_ &&
          desk_.WindowRectOf(window)) {
        ++record.joytokey_left;
      }
    }
  }
  record.trace = desk_.TraceSnapshot();
  return record;
}

RunReport RandomRun::Run() {
  if (options_.free_running) desk_.RunFreely();
  MakeJoyToKey();
  MakeSettingsFile();
  MakeDrives();
  MakeOtherWindows();
  AnswerBoxes();
  process_ = &desk_.Launch(kProgramPath, [this](Platform& platform) {
    EntryHooks hooks;
    hooks.on_main_window = [this](THopla& window) { hopla_ = &window; };
    return RunHopla(platform, hooks);
  });
  const int64_t until = dice_.Between(
      2000, options_.free_running ? kLongestFreeRunMs : kLongestRunMs);
  PlanPresses(until);
  PlanClicks(until);
  PlanClose(until);
  PlanTroubles(until);
  PlanPause(until);
  while (process_->Running() && desk_.Now() < until) {
    desk_.RunFor(kSliceMs);
    Look();
  }
  // The person closes it, again if a close met the quit question open.
  const int64_t end = desk_.Now() + kEndLimitMs;
  int64_t next_close = desk_.Now();
  while (process_->Running() && desk_.Now() < end) {
    if (desk_.Now() >= next_close && desk_.OpenMessageBoxes() == 0) {
      LastClose();
      next_close = desk_.Now() + kCloseAgainMs;
    }
    desk_.RunFor(kSliceMs);
    Look();
  }
  RunReport report;
  report.seed = seed_;
  report.virtual_ms = desk_.Now();
  RunRecord record = Record();
  if (options_.free_running) {
    record.silence = {};
    record.threads_may_stay = true;
  }
  report.failures = CheckRun(record);
  report.script = script_;
  if (options_.with_trace) report.trace = desk_.DumpTrace();
  return report;
}
}  // namespace detail

RunReport RunSeed(uint64_t seed, const RunOptions& options) {
  return detail::RandomRun(seed, options).Run();
}

std::string ReplayCommand(uint64_t seed) {
  return "bench/random_runs.sh --seed " + std::to_string(seed);
}

}  // namespace hopla::random_runs
