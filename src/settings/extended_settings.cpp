#include "settings/extended_settings.h"

#include <array>
#include <cstdint>

#include "settings/ini_file.h"

namespace hopla {
namespace {

// One stored value: its key, its range, and where it sits in the settings.
struct ExtendedKey {
  const char* key;
  int32_t min;
  int32_t max;
  int32_t (*get)(const ExtendedSettings&);
  void (*set)(ExtendedSettings&, int32_t);
};

constexpr uint32_t kMaxVirtualKey = 254;

constexpr std::array<ExtendedKey, 7> kKeys = {{
    {"スイッチ", 0, 2,
     [](const ExtendedSettings& s) {
       return static_cast<int32_t>(s.switch_choice.kind);
     },
     [](ExtendedSettings& s, int32_t v) {
       s.switch_choice.kind = static_cast<SwitchKind>(v);
     }},
    {"ジョイスティック", 1, kMaxJoysticks,
     [](const ExtendedSettings& s) { return s.switch_choice.joystick; },
     [](ExtendedSettings& s, int32_t v) { s.switch_choice.joystick = v; }},
    {"ボタン", 1, kMaxJoystickButtons,
     [](const ExtendedSettings& s) { return s.switch_choice.button; },
     [](ExtendedSettings& s, int32_t v) { s.switch_choice.button = v; }},
    {"キー", 1, kMaxVirtualKey,
     [](const ExtendedSettings& s) {
       return static_cast<int32_t>(s.switch_choice.key);
     },
     [](ExtendedSettings& s, int32_t v) {
       s.switch_choice.key = static_cast<uint32_t>(v);
     }},
    {"マウスボタン", static_cast<int32_t>(SwitchMouseButton::kRight),
     static_cast<int32_t>(SwitchMouseButton::kX2),
     [](const ExtendedSettings& s) {
       return static_cast<int32_t>(s.switch_choice.mouse_button);
     },
     [](ExtendedSettings& s, int32_t v) {
       s.switch_choice.mouse_button = static_cast<SwitchMouseButton>(v);
     }},
    {"吹き出し", 0, 1,
     [](const ExtendedSettings& s) { return s.bubble ? 1 : 0; },
     [](ExtendedSettings& s, int32_t v) { s.bubble = v != 0; }},
    {"要素へ跳ぶ", 0, 1,
     [](const ExtendedSettings& s) { return s.hop ? 1 : 0; },
     [](ExtendedSettings& s, int32_t v) { s.hop = v != 0; }},
}};

}  // namespace

ExtendedSettings ReadExtendedSettings(IniFile& ini) {
  const ExtendedSettings defaults;
  ExtendedSettings values;
  for (const ExtendedKey& k : kKeys) {
    const int32_t fallback = k.get(defaults);
    const int32_t read = ini.ReadInteger(kExtendedSection, k.key, fallback);
    k.set(values, read >= k.min && read <= k.max ? read : fallback);
  }
  return values;
}

void WriteExtendedSettings(IniFileSave& save, const ExtendedSettings& values) {
  const ExtendedSettings defaults;
  for (const ExtendedKey& k : kKeys) {
    const int32_t value = k.get(values);
    if (value != k.get(defaults) || save.Contains(kExtendedSection, k.key)) {
      save.WriteInteger(kExtendedSection, k.key, value);
    }
  }
}

}  // namespace hopla
