#include "settings/setting_rows.h"

#include <array>

#include "shared/slider_maps.h"
#include "shared/texts.h"

namespace hopla {
namespace {

template <auto kMember>
Control& In(SettingsWindow& window) {
  return window.*kMember;
}
template <auto kMember>
RadioButton& Radio(SettingsWindow& window) {
  return window.*kMember;
}
template <auto kMember>
CheckBox& InDialog(ExtendedDialog& dialog) {
  return dialog.*kMember;
}

// Short names keep each row to a few lines.
using W = SettingsWindow;
using E = ExtendedSettings;
using K = SettingKind;
constexpr char kMouse[] = "マウス";
constexpr char kTimer[] = "タイマー";
constexpr char kBrake[] = "ブレーキ";
constexpr uint32_t kMaxVirtualKey = 254;

constexpr SettingRow Slider(const char* key, int32_t fallback,
                            Control& (*control)(W&),
                            void (W::*handler)(Component&),
                            const char* section = kTimer) {
  return {.section = section,
          .key = key,
          .kind = K::kSlider,
          .fallback = fallback,
          .control = control,
          .handler = handler,
          .load_runs_handler = true};
}

constexpr SettingRow Box(const char* section, const char* key, int32_t fallback,
                         Control& (*control)(W&),
                         void (W::*handler)(Component&) = nullptr) {
  return {.section = section,
          .key = key,
          .kind = K::kCheckBox,
          .fallback = fallback,
          .control = control,
          .handler = handler};
}

// Stored when the kind has a key; bound either way.
constexpr SettingRow KindBox(const BrakeKind& kind, Control& (*control)(W&)) {
  return {.section = kBrake,
          .key = kind.key,
          .kind = kind.key != nullptr ? K::kCheckBox : K::kControl,
          .control = control,
          .brake_kind = &kind};
}

constexpr SettingRow Extended(
    const char* key, int32_t min, int32_t max, int32_t (*get)(const E&),
    void (*set)(E&, int32_t),
    CheckBox& (*dialog_box)(ExtendedDialog&) = nullptr,
    void (*apply)(EngineState&, int32_t) = nullptr) {
  return {.section = kExtendedSection,
          .key = key,
          .kind = K::kExtended,
          .min = min,
          .max = max,
          .get = get,
          .set = set,
          .dialog_box = dialog_box,
          .apply = apply};
}

const SettingRow kRows[] = {
    Slider("マウス移動速度", 3, &In<&W::SpeedBar>, &W::SpeedBarChange, kMouse),
    Box(kMouse, "画面端折り返し", 1, &In<&W::OrikaesiCheckBox>,
        &W::OrikaesiCheckBoxClick),
    {.section = kMouse,
     .key = "8方向",
     .kind = K::kCheckBox,
     .control = &In<&W::HoukouCheckBox>,
     .handler = &W::HoukouCheckBoxClick,
     .load_runs_handler = true},
    Box(kMouse, "今だけ早い", 1, &In<&W::ImadakeSokudo>,
        &W::ImadakeSokudoClick),
    Box("サウンド", "音を出す", 1, &In<&W::SoundCheckBox>,
        &W::SoundCheckBoxClick),
    Box("起動", "最小化", 0, &In<&W::SaishouCheckBox>,
        &W::SaishouCheckBoxClick),
    Box(kJoyToKeySection, "JoyToKeyの利用", 0, &In<&W::JtkUseCheckBox>,
        &W::JtkUseCheckBoxClick),
    {.section = kJoyToKeySection,
     .key = kJoyToKeyFolderKey,
     .kind = K::kFolder,
     .control = &In<&W::Path_JoyToKey>},
    Slider("長押し判定時間", 3, &In<&W::NagaHanteiTrackBar>,
           &W::NagaHanteiTrackBarChange),
    Slider("実行までの時間", 4, &In<&W::JikkouTrackBar>,
           &W::JikkouTrackBarChange),
    Slider("キー入力移行の時間", 5, &In<&W::KeyModeBar>, &W::KeyModeBarChange),
    {.section = kBrake, .key = "強さ", .kind = K::kStrength, .fallback = 1},
    KindBox(kBrakeIcon, &In<&W::BreakIconCheckBox>),
    KindBox(kBrakeScrollBar, &In<&W::BreakScrollBarCheckBox>),
    KindBox(kBrakeCheckBox, &In<&W::BreakChkCheckBox>),
    KindBox(kBrakeTextBox, &In<&W::BreakTextBoxCheckBox>),
    KindBox(kBrakeTrayTab, &In<&W::BreakToreiTabCheckBox>),
    KindBox(kBrakeButton, &In<&W::BreakBtnCheckBox>),
    KindBox(kBrakeMenuBar, &In<&W::BreakMenuBarCheckBox>),
    KindBox(kBrakeRadio, &In<&W::BreakRadioCheckBox>),
    KindBox(kBrakeStartMenu, &In<&W::BreakStartMenuCheckBox>),
    KindBox(kBrakeLink, &In<&W::BreakLinkCheckBox>),
    Extended(
        "スイッチ", 0, 2,
        [](const E& s) { return static_cast<int32_t>(s.switch_choice.kind); },
        [](E& s, int32_t v) {
          s.switch_choice.kind = static_cast<SwitchKind>(v);
        }),
    Extended(
        "ジョイスティック", 1, kMaxJoysticks,
        [](const E& s) { return s.switch_choice.joystick; },
        [](E& s, int32_t v) { s.switch_choice.joystick = v; }),
    Extended(
        "ボタン", 1, kMaxJoystickButtons,
        [](const E& s) { return s.switch_choice.button; },
        [](E& s, int32_t v) { s.switch_choice.button = v; }),
    Extended(
        "キー", 1, kMaxVirtualKey,
        [](const E& s) { return static_cast<int32_t>(s.switch_choice.key); },
        [](E& s, int32_t v) {
          s.switch_choice.key = static_cast<uint32_t>(v);
        }),
    Extended(
        "マウスボタン", static_cast<int32_t>(SwitchMouseButton::kRight),
        static_cast<int32_t>(SwitchMouseButton::kX2),
        [](const E& s) {
          return static_cast<int32_t>(s.switch_choice.mouse_button);
        },
        [](E& s, int32_t v) {
          s.switch_choice.mouse_button = static_cast<SwitchMouseButton>(v);
        }),
    Extended(
        "吹き出し", 0, 1, [](const E& s) { return s.bubble ? 1 : 0; },
        [](E& s, int32_t v) { s.bubble = v != 0; },
        &InDialog<&ExtendedDialog::BubbleCheckBox>,
        [](EngineState& state, int32_t v) { state.BubbleOn = v != 0; }),
    Extended(
        "要素へ跳ぶ", 0, 1, [](const E& s) { return s.hop ? 1 : 0; },
        [](E& s, int32_t v) { s.hop = v != 0; },
        &InDialog<&ExtendedDialog::HopCheckBox>,
        [](EngineState& state, int32_t v) { state.HopOn = v != 0; }),
    Extended(
        "止まってクリック", 0, 1,
        [](const E& s) { return s.stop_click ? 1 : 0; },
        [](E& s, int32_t v) { s.stop_click = v != 0; },
        &InDialog<&ExtendedDialog::StopClickCheckBox>,
        [](EngineState& state, int32_t v) { state.StopClickOn = v != 0; }),
    Extended(
        "細かい速さ", 0, 1, [](const E& s) { return s.fine_speeds ? 1 : 0; },
        [](E& s, int32_t v) { s.fine_speeds = v != 0; },
        &InDialog<&ExtendedDialog::FineSpeedsCheckBox>,
        [](EngineState& state, int32_t v) {
          state.FineSpeedsOn = v != 0;
          ApplySpeedPosition(state);  // a walk under way changes at once
        }),
    Extended(
        "要素をたどる", 0, 1, [](const E& s) { return s.element_step ? 1 : 0; },
        [](E& s, int32_t v) { s.element_step = v != 0; },
        &InDialog<&ExtendedDialog::ElementStepCheckBox>,
        [](EngineState& state, int32_t v) { state.ElementStepOn = v != 0; }),
    Extended(
        "たどる間隔", kLeastStepPace, kMostStepPace,
        [](const E& s) { return s.step_pace; },
        [](E& s, int32_t v) { s.step_pace = v; }, nullptr,
        [](EngineState& state, int32_t v) { state.StepPaceMs = v * 100; }),
    Extended(
        "キーボード", 0, 1, [](const E& s) { return s.keyboard ? 1 : 0; },
        [](E& s, int32_t v) { s.keyboard = v != 0; },
        &InDialog<&ExtendedDialog::KeyboardCheckBox>,
        [](EngineState& state, int32_t v) { state.KeyboardOn = v != 0; }),
    Extended(
        "キーボードの左", kLeastKeyboardCoordinate, kMostKeyboardCoordinate,
        [](const E& s) { return s.keyboard_left; },
        [](E& s, int32_t v) { s.keyboard_left = v; }),
    Extended(
        "キーボードの上", kLeastKeyboardCoordinate, kMostKeyboardCoordinate,
        [](const E& s) { return s.keyboard_top; },
        [](E& s, int32_t v) { s.keyboard_top = v; }),
    Extended(
        "キーボードの幅", 0, kMostKeyboardSize,
        [](const E& s) { return s.keyboard_width; },
        [](E& s, int32_t v) { s.keyboard_width = v; }),
    Extended(
        "キーボードの高さ", 0, kMostKeyboardSize,
        [](const E& s) { return s.keyboard_height; },
        [](E& s, int32_t v) { s.keyboard_height = v; }),
    Extended(
        kLanguageKey, 0, kLanguages - 1, [](const E& s) { return s.language; },
        [](E& s, int32_t v) { s.language = v; }),
    Extended(
        "一時停止キー", 1, kMaxVirtualKey,
        [](const E& s) { return static_cast<int32_t>(s.pause_key); },
        [](E& s, int32_t v) { s.pause_key = static_cast<uint32_t>(v); }),
};

const std::array<StrengthRadio, 4> kStrengths = {{
    {kBrakeNone, &Radio<&W::BreakNasiRadioButton>},
    {kBrakeWeak, &Radio<&W::BreakYowaiRadioButton>},
    {kBrakeMedium, &Radio<&W::BreakChuuRadioButton>},
    {kBrakeStrong, &Radio<&W::BreakTuyoiRadioButton>},
}};

}  // namespace

std::span<const SettingRow> SettingRows() { return kRows; }
std::span<const StrengthRadio> StrengthRadios() { return kStrengths; }

}  // namespace hopla
