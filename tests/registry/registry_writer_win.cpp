// Writes a last location and one display flag through the settings, for the
// test that finds them in the Wine prefix's user.reg. Usage: PROFILE_NAME
#include <cstdio>
#include <string>

#include "platform/interfaces/platform_factories.h"
#include "settings/settings_store.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: registry_writer_win PROFILE_NAME\n", stderr);
    return 64;
  }
  auto store = MakeProfileStore(PlatformOptions{}, argv[1]);
  AppSettingsState app;
  SetUpRegistry(*store, app);
  LoadPreferences(*store);
  WriteLastLocation(*store, app, "Z\xC3\xBCrich Hbf");
  for (const WeatherSeries& row : kWeatherSeries)
    if (std::string(row.valueName) == "Sleet") SaveChangedFlag(*store, row, 0);
  return 0;
}
