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

std::string ReadApiKey(ProfileStore& store, const AppSettingsState& app) {
  reg::Key key = 0;
  if (store.CreateKey(app.m_strRegistryPath, key) != reg::kSuccess) return {};
  std::string text;
  reg::ValueType type = reg::kNone;
  std::uint32_t size = 0;
  if (store.QueryValueEx(key, kApiKeyValue, &type, nullptr, &size) == reg::kSuccess &&
      (type == reg::kSz || type == reg::kExpandSz) && size > 0) {
    text.resize(size);
    if (store.QueryValueEx(key, kApiKeyValue, &type, reinterpret_cast<unsigned char*>(text.data()),
                           &size) != reg::kSuccess) {
      size = 0;
    }
    text.resize(size);
    // The text ends at its first NUL, as a REG_SZ reader takes it.
    if (const std::size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
  }
  store.CloseKey(key);
  return text;
}

bool WriteApiKey(ProfileStore& store, const AppSettingsState& app, const std::string& keyText) {
  reg::Key key = 0;
  if (store.CreateKey(app.m_strRegistryPath, key) != reg::kSuccess) return false;
  reg::Status status;
  if (keyText.empty()) {
    status = store.DeleteValue(key, kApiKeyValue);
    if (status == reg::kFileNotFound) status = reg::kSuccess;  // nothing was stored
  } else {
    status = store.SetValueEx(key, kApiKeyValue, reg::kSz,
                              reinterpret_cast<const unsigned char*>(keyText.c_str()),
                              static_cast<std::uint32_t>(keyText.size() + 1));
  }
  store.CloseKey(key);
  return status == reg::kSuccess;
}

void SaveChangedFlag(ProfileStore& store, const WeatherSeries& row, BOOL dialogValue) {
  BOOL& held = FlagOf(thePreferences, row.id);
  if (dialogValue == held) return;
  held = dialogValue;
  store.WriteProfileInt(kPreferencesSection, row.valueName, dialogValue);
}
