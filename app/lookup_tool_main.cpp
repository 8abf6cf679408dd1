// orlimar-lookup: the dialog's look-up for scripts and machines without a display.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/console_lookup_view.h"
#include "app/lookup_tool_args.h"
#include "app/platform_options_reader.h"
#include "forecast/forecast_address.h"
#include "lookup/c_number.h"
#include "lookup/elevation.h"
#include "lookup/lookup_sequence.h"
#include "lookup/tag_value.h"
#include "orlimar_version.h"
#include "platform/interfaces/platform_factories.h"
#include "platform/json/json_object.h"
#include "platform/process/arguments.h"
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
    "Usage: orlimar-lookup [--json] [--] LOCATION\n"
    "       orlimar-lookup --help | --version\n"
    "Looks LOCATION up (a place name, an address, \"LAT,LON\" or a ZIP code) and\n"
    "prints its address, coordinates and elevation, one per line.\n"
    "\n"
    "  --json     print one JSON object instead\n"
    "  --         end of the options: a LOCATION may then begin with '-'\n"
    "  -h, --help show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 found, 1 not found, 2 network failure, 3 unreadable reply,\n"
    "64 wrong usage.\n";

struct Result {
  std::string address, latitude, longitude, latitudeDms, longitudeDms;
  bool elevationShown = false;
  std::string feet, meters;  // as shown, when elevationShown
  std::string forecast;
};

Result ResultOf(ProfileStore& store, const ConsoleLookupView& view, const std::string& latitude,
                const std::string& longitude, const std::string& meters) {
  Result r;
  r.address = view.Field(LookupField::Address);
  r.latitude = view.Field(LookupField::Latitude);
  r.longitude = view.Field(LookupField::Longitude);
  r.latitudeDms = view.Field(LookupField::LatitudeDms);
  r.longitudeDms = view.Field(LookupField::LongitudeDms);
  r.elevationShown = view.ElevationShown();
  if (r.elevationShown) {
    r.feet = FormatElevation(meters, kFeetPerMeter);
    r.meters = FormatElevation(meters, kMetersPerMeter);
  }
  // The dialog's flags, so Forecast opens what the dialog would open.
  LoadPreferences(store);
  r.forecast = ForecastAddressFor(latitude, longitude, thePreferences);
  return r;
}

void PrintLine(const char* label, const std::string& text) {
  std::printf("%s: %s\n", label, text.c_str());
}

void PrintLines(const Result& r) {
  PrintLine("Address", r.address);
  PrintLine("Latitude", r.latitude);
  PrintLine("Longitude", r.longitude);
  PrintLine("Latitude DMS", r.latitudeDms);
  PrintLine("Longitude DMS", r.longitudeDms);
  if (r.elevationShown) {
    PrintLine("Elevation feet", r.feet);
    PrintLine("Elevation meters", r.meters);
  }
  PrintLine("Forecast", r.forecast);
}

// The shown elevation texts as numbers, so a script reads what a person sees.
JsonValue ElevationNumber(const Result& r, const std::string& shown) {
  if (!r.elevationShown) return nullptr;
  return AtofC(shown);
}

void PrintJson(const Result& r) {
  const std::string text = JsonObjectText({
      {"address", r.address},
      {"latitude", r.latitude},
      {"longitude", r.longitude},
      {"latitude_dms", r.latitudeDms},
      {"longitude_dms", r.longitudeDms},
      {"elevation_feet", ElevationNumber(r, r.feet)},
      {"elevation_meters", ElevationNumber(r, r.meters)},
      {"forecast", r.forecast},
  });
  std::printf("%s\n", text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> all = Utf8Arguments(argc, argv);
  const LookupToolArgs args = ParseLookupToolArgs(std::vector<std::string>(all.begin() + 1, all.end()));
  switch (args.action) {
    case LookupToolAction::Help:
      std::fputs(kUsageText, stdout);
      return 0;
    case LookupToolAction::Version:
      std::printf("orlimar-lookup %s\n", kProductVersion);
      return 0;
    case LookupToolAction::Usage:
      if (!args.problem.empty()) std::fprintf(stderr, "orlimar-lookup: %s\n", args.problem.c_str());
      std::fputs(kUsageText, stderr);
      return kUsage;
    case LookupToolAction::Lookup:
      break;
  }

  ConsoleLookupView view(args.location);
  std::string latitude, longitude, elevation;
  PlatformOptions options = ReadPlatformOptions(std::getenv);
  // The dialog's settings, only read: a look-up from a script leaves none behind.
  options.readOnlySettings = true;
  const auto store = MakeProfileStore(options, kDialogProfileName);
  AppSettingsState app;
  SetUpRegistry(*store, app);
  options.apiKey = ChooseApiKey(options, ReadApiKey(*store, app));
  const auto http = MakeHttpTextSource(options);
  try {
    switch (RunLookup(view, *http, options.apiKey, {latitude, longitude, elevation})) {
      case LookupOutcome::Found: {
        const Result result = ResultOf(*store, view, latitude, longitude, elevation);
        if (args.json) {
          PrintJson(result);
        } else {
          PrintLines(result);
        }
        return 0;
      }
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
