// The codes of mouse mode, in the order an execution tests them, with the
// command each selects. The names are what a person is told a code does.
#ifndef HOPLA_ENGINE_COMMAND_TABLE_H_
#define HOPLA_ENGINE_COMMAND_TABLE_H_

#include <array>
#include <cstdint>
#include <string_view>

namespace hopla {

// CommandState numbers; no code selects 6.
enum CommandNumber : int32_t {
  kCommandNone = 0,
  kCommandClose = 1,
  kCommandLeftClick = 2,
  kCommandRightClick = 3,
  kCommandDoubleClick = 4,
  kCommandLeftHold = 5,
  kCommandMiddleClick = 7,
  kCommandShiftClick = 8,
  kCommandCtrlClick = 9,
  kCommandMinimise = 10,
  kCommandRestore = 11,
  kCommandMaximise = 12,
  kCommandCornerGrab = 13,
  kCommandRestoreSelf = 14,
};

// Two codes act at once while the codes are tested, and select no number.
enum class AtOnce { kNo, kMouseSoftware, kHelp };

struct MouseCode {
  std::string_view code;
  int32_t command;  // CommandState, or kCommandNone for the two at once
  AtOnce at_once;
  std::string_view name;
};

inline constexpr std::array<MouseCode, 15> kMouseCodes = {{
    {"0000", kCommandClose, AtOnce::kNo, "ウィンドウを閉じる"},
    {"1", kCommandLeftClick, AtOnce::kNo, "左クリック"},
    {"01", kCommandRightClick, AtOnce::kNo, "右クリック"},
    {"11", kCommandDoubleClick, AtOnce::kNo, "ダブルクリック"},
    {"010", kCommandMiddleClick, AtOnce::kNo, "中クリック"},
    {"100", kCommandShiftClick, AtOnce::kNo, "Shift+クリック"},
    {"101", kCommandCtrlClick, AtOnce::kNo, "Ctrl+クリック"},
    {"110", kCommandLeftHold, AtOnce::kNo, "左ボタンを押したまま"},
    {"011", kCommandRestore, AtOnce::kNo, "ウィンドウを元に戻す"},
    {"001", kCommandMinimise, AtOnce::kNo, "ウィンドウを最小化"},
    {"111", kCommandMaximise, AtOnce::kNo, "ウィンドウを最大化"},
    {"1000", kCommandCornerGrab, AtOnce::kNo, "ウィンドウの右下隅をつかむ"},
    {"1001", kCommandNone, AtOnce::kMouseSoftware, "マウスソフトの操作"},
    {"1010", kCommandNone, AtOnce::kHelp, "ヘルプ"},
    {"1011", kCommandRestoreSelf, AtOnce::kNo, "ホプラーを戻す"},
}};

// The codes that steer the walk, tested first at every execution, whether
// the cursor walks or not.
struct SteerCode {
  std::string_view code;
  std::string_view name;
};
inline constexpr SteerCode kSteerTurn = {"0", "向きを変える"};
inline constexpr SteerCode kSteerTurnTwice = {"00", "向きを2つ進める"};
inline constexpr SteerCode kSteerBoost = {"000", "今だけ早い"};
// While the cursor walks, the one code that acts besides the steering.
inline constexpr SteerCode kWalkStop = {"1", "止まる"};
// While the cursor walks and the hop is switched on, a code that otherwise
// does nothing then.
inline constexpr SteerCode kWalkHop = {"01", "次のボタンへ跳ぶ"};
// While the cursor walks and the stop with a click is switched on: what "1"
// and then "1" do, in one code.
inline constexpr SteerCode kWalkStopClick = {"11", "止まってクリック"};
// While standing and the keyboard is switched on, a code that otherwise
// does nothing then.
inline constexpr SteerCode kStandKeyboard = {"10", "キーボードを開く・閉じる"};
inline constexpr std::string_view kStartWalkName = "歩き始める";
inline constexpr std::string_view kPassElementName = "ブレーキを抜ける";
inline constexpr std::string_view kBoostOffName = "速さを戻す";
inline constexpr std::string_view kNothingName = "なし";

// The entry of a code, or null: the comparison is of the whole text.
inline const MouseCode* FindMouseCode(std::string_view code) {
  for (const MouseCode& entry : kMouseCodes) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

}  // namespace hopla

#endif  // HOPLA_ENGINE_COMMAND_TABLE_H_
