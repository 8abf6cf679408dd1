// Registry set-up, load and save of the display flags, and the last location.
#include "settings/settings_store.h"

#include <cstdint>

void SetUpRegistry(ProfileStore& store, AppSettingsState& app) {
  store.SetRegistryKey(kCompanyName);
  app.m_strRegistryPath = "Software\\" + store.RegistryKey() + "\\" + store.ProfileName();
}

void LoadPreferences(ProfileStore& store) {
  for (const WeatherSeries& row : kWeatherSeries) {
    FlagOf(thePreferences, row.id) =
        store.GetProfileInt(kPreferencesSection, row.valueName, row.defaultValue);
  }
}

void ReadLastLocation(ProfileStore& store, AppSettingsState& app) {
  reg::Key key = 0;
  if (store.CreateKey(app.m_strRegistryPath, key) != reg::kSuccess) return;
  reg::ValueType type = reg::kNone;
  std::uint32_t size = kLastLocationSize;
  auto* buffer = reinterpret_cast<unsigned char*>(app.m_szLastLocation);
  const reg::Status status = store.QueryValueEx(key, kLastLocationValue, &type, buffer, &size);
  const bool text = type == reg::kSz || type == reg::kExpandSz;
  if (status != reg::kSuccess || !text || size == 0 || size > kLastLocationSize ||
      buffer[size - 1] != 0) {
    app.m_szLastLocation[0] = 0;
  }
  store.CloseKey(key);
}

void WriteLastLocation(ProfileStore& store, const AppSettingsState& app, const std::string& text) {
  if (app.m_bCommandLineLocation) return;
  reg::Key key = 0;
  if (store.CreateKey(app.m_strRegistryPath, key) != reg::kSuccess) return;
  store.SetValueEx(key, kLastLocationValue, reg::kSz,
                   reinterpret_cast<const unsigned char*>(text.c_str()),
                   static_cast<std::uint32_t>(text.size() + 1));
  store.CloseKey(key);
}

void SaveChangedFlag(ProfileStore& store, const WeatherSeries& row, BOOL dialogValue) {
  BOOL& held = FlagOf(thePreferences, row.id);
  if (dialogValue == held) return;
  held = dialogValue;
  store.WriteProfileInt(kPreferencesSection, row.valueName, dialogValue);
}
