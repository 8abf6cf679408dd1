// The settings operations of start-up and the dialog: registry set-up, the
// display flags and the last location.
#pragma once

#include <string>

#include "platform/interfaces/profile_store.h"
#include "settings/preferences.h"
#include "settings/weather_series.h"

inline constexpr const char* kCompanyName = "Quenwick Software";
inline constexpr const char* kPreferencesSection = "Preferences";
inline constexpr const char* kLastLocationValue = "LastLocation";
inline constexpr int kLastLocationSize = 260;
inline constexpr const char* kApiKeyValue = "ApiKey";

// The application object's part of the settings; it holds one for the run.
struct AppSettingsState {
  std::string m_strRegistryPath;  // Software\Quenwick Software\<profile name>
  char m_szLastLocation[kLastLocationSize]{};
  BOOL m_bCommandLineLocation = 0;
  std::string m_strApiKey;  // the key the look-ups send, chosen at start
};

// Sets the company key and builds m_strRegistryPath from it.
void SetUpRegistry(ProfileStore& store, AppSettingsState& app);

// Fills thePreferences; a flag that cannot be read is 1.
void LoadPreferences(ProfileStore& store);

// Fills m_szLastLocation, or leaves it empty when the stored value is missing,
// too long, not text or not NUL-terminated.
void ReadLastLocation(ProfileStore& store, AppSettingsState& app);

// Stores the text as REG_SZ (an empty text stores one NUL); nothing in a
// command-line run.
void WriteLastLocation(ProfileStore& store, const AppSettingsState& app, const std::string& text);

// The stored maps API key (REG_SZ beside the last location), or empty when it
// is missing, empty or not text.
std::string ReadApiKey(ProfileStore& store, const AppSettingsState& app);

// Stores the key as REG_SZ; an empty key removes the stored one. False when the
// store refused.
bool WriteApiKey(ProfileStore& store, const AppSettingsState& app, const std::string& key);

// Writes the one flag whose value differs from thePreferences after updating
// the held value, so a failed write is not retried.
void SaveChangedFlag(ProfileStore& store, const WeatherSeries& row, BOOL dialogValue);

// The write half of the dialog's SavePreferences, run after its data exchange:
// each flag of the dialog that differs from its held value, in table order.
template <class Flags>
void SaveChangedPreferences(ProfileStore& store, const Flags& dialogFlags) {
  for (const WeatherSeries& row : kWeatherSeries)
    SaveChangedFlag(store, row, FlagOf(dialogFlags, row.id));
}
