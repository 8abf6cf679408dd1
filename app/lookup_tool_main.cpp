// orlimar-lookup: the dialog's look-up for scripts and machines without a display.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "app/console_lookup_view.h"
#include "app/platform_options_reader.h"
#include "forecast/forecast_address.h"
#include "lookup/elevation.h"
#include "lookup/lookup_sequence.h"
#include "lookup/tag_value.h"
#include "platform/interfaces/platform_factories.h"
#include "settings/preferences.h"
#include "settings/settings_store.h"

namespace {

constexpr int kNotFound = 1;
constexpr int kNetworkFailure = 2;
constexpr int kRefusedReply = 3;
constexpr int kUsage = 64;
// The dialog program's name, whose settings the tool reads.
constexpr const char* kDialogProfileName = "Orlimar";

const char kUsageText[] =
    "Usage: orlimar-lookup LOCATION\n"
    "Looks LOCATION up (a place name, an address, \"LAT,LON\" or a ZIP code) and\n"
    "prints its address, coordinates and elevation, one per line.\n"
    "Exit status: 0 found, 1 not found, 2 network failure, 3 unreadable reply.\n";

void PrintLine(const char* label, const std::string& text) {
  std::printf("%s: %s\n", label, text.c_str());
}

// The dialog's flags, so Forecast opens what the dialog would open.
void LoadDialogPreferences(const PlatformOptions& options) {
  const auto store = MakeProfileStore(options, kDialogProfileName);
  AppSettingsState app;
  SetUpRegistry(*store, app);
  LoadPreferences(*store);
}

void PrintResult(const PlatformOptions& options, const ConsoleLookupView& view,
                 const std::string& latitude, const std::string& longitude,
                 const std::string& meters) {
  PrintLine("Address", view.Field(LookupField::Address));
  PrintLine("Latitude", view.Field(LookupField::Latitude));
  PrintLine("Longitude", view.Field(LookupField::Longitude));
  PrintLine("Latitude DMS", view.Field(LookupField::LatitudeDms));
  PrintLine("Longitude DMS", view.Field(LookupField::LongitudeDms));
  if (view.ElevationShown()) {
    PrintLine("Elevation feet", FormatElevation(meters, kFeetPerMeter));
    PrintLine("Elevation meters", FormatElevation(meters, kMetersPerMeter));
  }
  LoadDialogPreferences(options);
  PrintLine("Forecast", ForecastAddressFor(latitude, longitude, thePreferences));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsageText, stdout);
    return 0;
  }
  if (argc != 2) {
    std::fputs(kUsageText, stderr);
    return kUsage;
  }

  ConsoleLookupView view(argv[1]);
  std::string latitude, longitude, elevation;
  const PlatformOptions options = ReadPlatformOptions(std::getenv);
  const auto http = MakeHttpTextSource(options);
  try {
    switch (RunLookup(view, *http, options.apiKey, {latitude, longitude, elevation})) {
      case LookupOutcome::Found:
        PrintResult(options, view, latitude, longitude, elevation);
        return 0;
      case LookupOutcome::NotFound:
        std::fputs("Not found\n", stderr);
        // A refused request names its reason where the address would stand.
        if (const std::string reason = view.Field(LookupField::Address); !reason.empty())
          std::fprintf(stderr, "%s\n", reason.c_str());
        return kNotFound;
      case LookupOutcome::NetworkFailure:
        std::fprintf(stderr, "%s\n", view.Message().c_str());
        return kNetworkFailure;
    }
  } catch (const InvalidArgumentError& refused) {
    std::fprintf(stderr, "%s\n", refused.what());
    return kRefusedReply;
  }
  return 0;
}
