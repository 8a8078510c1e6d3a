// Every stored setting: where it lives in the settings file, its type and its
// value when absent, in the order the file is read and written.
#ifndef HOPLA_SETTINGS_SETTINGS_TABLE_H_
#define HOPLA_SETTINGS_SETTINGS_TABLE_H_

#include <array>
#include <cstdint>

namespace hopla {

enum class SettingType {
  kSlider,         // a slider position 1..8
  kBoolean,        // a check box, 0 or 1
  kText,           // the JoyToKey folder; read only, written by the search
  kBrakeStrength,  // the brake delay in milliseconds
};

// Which control or value a setting belongs to.
enum class SettingId {
  kSpeed,
  kTurnAtEdges,
  kEightDirections,
  kBoostAllowed,
  kSound,
  kStartMinimised,
  kUseJoyToKey,
  kJoyToKeyFolder,
  kLongPressTime,
  kExecuteDelay,
  kKeyModeTime,
  kBrakeStrength,
  kBrakeIcon,
  kBrakeScrollBar,
  kBrakeCheckBox,
  kBrakeTextBox,
  kBrakeTrayTab,
  kBrakeButton,
  kBrakeMenuBar,
  kBrakeRadio,
};

struct SettingDef {
  SettingId id;
  const char* section;
  const char* key;
  SettingType type;
  int32_t fallback;  // value when absent (booleans: 0 or 1)
};

inline constexpr char kVersionSection[] = "バージョン";
inline constexpr char kVersionKey[] = "Ver";
inline constexpr char kJoyToKeySection[] = "UseJoyToKey";
inline constexpr char kJoyToKeyFolderKey[] = "所在フォルダー";

inline constexpr std::array<SettingDef, 20> kSettings = {{
    {SettingId::kSpeed, "マウス", "マウス移動速度", SettingType::kSlider, 3},
    {SettingId::kTurnAtEdges, "マウス", "画面端折り返し", SettingType::kBoolean,
     1},
    {SettingId::kEightDirections, "マウス", "8方向", SettingType::kBoolean, 0},
    {SettingId::kBoostAllowed, "マウス", "今だけ早い", SettingType::kBoolean,
     1},
    {SettingId::kSound, "サウンド", "音を出す", SettingType::kBoolean, 1},
    {SettingId::kStartMinimised, "起動", "最小化", SettingType::kBoolean, 0},
    {SettingId::kUseJoyToKey, kJoyToKeySection, "JoyToKeyの利用",
     SettingType::kBoolean, 0},
    {SettingId::kJoyToKeyFolder, kJoyToKeySection, kJoyToKeyFolderKey,
     SettingType::kText, 0},
    {SettingId::kLongPressTime, "タイマー", "長押し判定時間",
     SettingType::kSlider, 3},
    {SettingId::kExecuteDelay, "タイマー", "実行までの時間",
     SettingType::kSlider, 4},
    {SettingId::kKeyModeTime, "タイマー", "キー入力移行の時間",
     SettingType::kSlider, 5},
    {SettingId::kBrakeStrength, "ブレーキ", "強さ", SettingType::kBrakeStrength,
     1},
    {SettingId::kBrakeIcon, "ブレーキ", "アイコン", SettingType::kBoolean, 0},
    {SettingId::kBrakeScrollBar, "ブレーキ", "スクロールバー",
     SettingType::kBoolean, 0},
    {SettingId::kBrakeCheckBox, "ブレーキ", "チェックBOX",
     SettingType::kBoolean, 0},
    {SettingId::kBrakeTextBox, "ブレーキ", "テキストBOX", SettingType::kBoolean,
     0},
    {SettingId::kBrakeTrayTab, "ブレーキ", "トレイ/タブ", SettingType::kBoolean,
     0},
    {SettingId::kBrakeButton, "ブレーキ", "ボタン", SettingType::kBoolean, 0},
    {SettingId::kBrakeMenuBar, "ブレーキ", "メニューバー",
     SettingType::kBoolean, 0},
    {SettingId::kBrakeRadio, "ブレーキ", "ラジオボタン", SettingType::kBoolean,
     0},
}};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_SETTINGS_TABLE_H_
