#include "engine/code_bubble.h"

#include <algorithm>

#include "engine/command_table.h"
#include "engine/key_table.h"

namespace hopla {
namespace {

constexpr int32_t kFullBar = 1000;
// The bar moves in steps of this many permille: a redraw per step, not per
// poll.
constexpr int32_t kBarStep = 20;
constexpr int32_t kTenthMs = 100;

std::string Spaced(const std::string& marks, bool holding) {
  std::string text;
  for (char mark : marks) {
    text += mark;
    text += ' ';
  }
  text += holding ? "■" : "_";
  return text;
}

std::string KeyModeName(const std::string& code, bool joytokey_used) {
  if (code == kKeyShowJoyToKey) return std::string(kKeyShowJoyToKeyName);
  if (code == kKeyShowJoyToKeyNext) {
    return std::string(kKeyShowJoyToKeyNextName);
  }
  const KeyCode* row = FindKeyCode(code);
  if (row == nullptr) return std::string(kNothingName);
  if (row->first_key != 0 && !joytokey_used) return std::string(row->name);
  return "JoyToKey " + std::to_string(row->key_index);
}

std::string WalkingName(const std::string& code, const EngineState& state,
                        bool boost_allowed) {
  if (code == kWalkStop.code) return std::string(kWalkStop.name);
  if (code == kWalkHop.code && state.HopOn) return std::string(kWalkHop.name);
  if (code == kWalkStopClick.code && state.StopClickOn) {
    return std::string(kWalkStopClick.name);
  }
  if (code == kSteerTurn.code) return std::string(kSteerTurn.name);
  if (code == kSteerTurnTwice.code) {
    return std::string(state.Braking ? kPassElementName : kSteerTurnTwice.name);
  }
  if (code == kSteerBoost.code && boost_allowed) {
    return std::string(state.SpeedBoost ? kBoostOffName : kSteerBoost.name);
  }
  return std::string(kNothingName);
}

std::string TimeLeft(int64_t ms, Language language) {
  const int64_t tenths = (std::max<int64_t>(ms, 0) + kTenthMs - 1) / kTenthMs;
  return Face(language, "あと") + " " + std::to_string(tenths / 10) + "." +
         std::to_string(tenths % 10) + " " + Face(language, "秒");
}

}  // namespace

std::string DescribeCode(const std::string& code, const EngineState& state,
                         bool joytokey_used, bool boost_allowed) {
  if (state.KeyMode && !state.Moving) return KeyModeName(code, joytokey_used);
  if (state.Moving) return WalkingName(code, state, boost_allowed);
  if (code == kSteerTurn.code || code == kSteerTurnTwice.code) {
    return std::string(kStartWalkName);
  }
  if (code == kSteerBoost.code) {
    return WalkingName(code, state, boost_allowed);
  }
  if (state.KeyboardOn && code == kStandKeyboard.code) {
    return std::string(kStandKeyboard.name);
  }
  const MouseCode* entry = FindMouseCode(code);
  return std::string(entry != nullptr ? entry->name : kNothingName);
}

std::string CodeBubble::EnteredMarks(const std::string& code) {
  // In key input mode every code begins with what the mode keeps there.
  if (code.rfind(kKeyModeCode, 0) == 0) return code.substr(kKeyModeCode.size());
  if (code.rfind("KEY", 0) == 0) return "";
  return code;
}

void CodeBubble::Refresh() {
  const std::string code = state_.PressCode.Get();
  const std::string marks = EnteredMarks(code);
  if (!state_.BubbleOn || marks.empty()) {
    Hide();
    return;
  }
  BubbleView view;
  view.marks = Spaced(marks, false);
  view.command =
      DescribeCode(code, state_, state_.JoyToKeyUsed, state_.BoostAllowed);
  const std::optional<int64_t> due = execution_timer_.DueMs();
  view.time_left =
      due ? TimeLeft(*due - platform_.NowMs(), state_.TextLanguage) : "";
  view.cursor = platform_.CursorPos().value_or(Point{});
  Show(view);
}

void CodeBubble::Holding(int32_t hold_ticks) {
  if (!state_.BubbleOn) return;
  const int32_t long_ticks = std::max<int32_t>(state_.LongPressTicks, 1);
  const int32_t mode_ticks = long_ticks * int32_t{state_.PollInterval};
  int32_t permille = 0;
  if (hold_ticks < long_ticks) {
    permille = hold_ticks * kFullBar / long_ticks;
  } else if (state_.Moving || mode_ticks <= long_ticks) {
    permille = kFullBar;  // no key input mode while the cursor walks
  } else {
    permille =
        kFullBar + std::min(kFullBar, (hold_ticks - long_ticks) * kFullBar /
                                          (mode_ticks - long_ticks));
  }
  const int32_t bar = permille / kBarStep * kBarStep;
  // Within one hold only the bar moves (the walk halts for a press and the
  // mark comes at the release): most polls cost nothing, and none asks
  // the system where the cursor is again.
  const bool same_hold = shown_ && shown_->hold_permille >= 0;
  if (same_hold && shown_->hold_permille == bar) return;
  BubbleView view;
  if (same_hold) {
    view = *shown_;
  } else {
    view.marks = Spaced(EnteredMarks(state_.PressCode.Get()), true);
    view.cursor = platform_.CursorPos().value_or(Point{});
  }
  view.hold_permille = bar;
  if (state_.Paused) {
    // The press makes no mark: only a hold to the end of the bar counts.
    view.command = bar < 2 * kFullBar ? "一時停止中（押し続けると再開）"
                                      : "一時停止を終える";
  } else {
    view.command = hold_ticks < long_ticks ? "短い押し（0）"
                   : bar < 2 * kFullBar    ? "長い押し（1）"
                                        : "キー入力モードの切り替え";
  }
  Show(view);
}

void CodeBubble::Show(const BubbleView& asked) {
  BubbleView view = asked;
  view.command = Face(state_.TextLanguage, view.command);
  if (shown_ == view) return;
  shown_ = view;
  platform_.ShowBubble(view);
}

void CodeBubble::Hide() {
  if (!shown_) return;
  shown_.reset();
  platform_.HideBubble();
}

}  // namespace hopla
