#include "settings/extended_settings.h"

#include "settings/ini_file.h"
#include "settings/setting_rows.h"

namespace hopla {
int32_t ReadExtendedValue(IniFile& ini, const SettingRow& row) {
  const int32_t fallback = row.get(ExtendedSettings{});
  const int32_t read = ini.ReadInteger(row.section, row.key, fallback);
  return read >= row.min && read <= row.max ? read : fallback;
}

ExtendedSettings ReadExtendedSettings(IniFile& ini) {
  ExtendedSettings values;
  for (const SettingRow& row : SettingRows()) {
    if (row.kind == SettingKind::kExtended) {
      row.set(values, ReadExtendedValue(ini, row));
    }
  }
  return values;
}

void WriteExtendedSettings(IniFileSave& save, const ExtendedSettings& values) {
  const ExtendedSettings defaults;
  for (const SettingRow& row : SettingRows()) {
    if (row.kind != SettingKind::kExtended) continue;
    const int32_t value = row.get(values);
    if (value != row.get(defaults) || save.Contains(row.section, row.key)) {
      save.WriteInteger(row.section, row.key, value);
    }
  }
}

}  // namespace hopla
