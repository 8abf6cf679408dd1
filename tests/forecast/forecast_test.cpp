// The forecast page address for sets of ticked series, and the Forecast
// command's steps against a recording view.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forecast/forecast_address.h"
#include "forecast/forecast_command.h"
#include "settings/preferences.h"
#include "tests/support/named_rows.h"

namespace {

constexpr const char* kTail =
    "AheadHour=0&Submit=Submit&FcstType=graphical&textField1=38.5291&textField2=-121.69418&"
    "site=all&unit=0&dd=&bw=";

CPreferences Flags(std::initializer_list<SeriesId> ticked) {
  CPreferences flags{};
  for (const WeatherSeries& row : kWeatherSeries) FlagOf(flags, row.id) = 0;
  for (SeriesId id : ticked) FlagOf(flags, id) = 1;
  return flags;
}

struct AddressRow {
  std::string name;
  CPreferences flags;
  std::string items;
};
using named_rows::PrintTo;

class ForecastAddress : public testing::TestWithParam<AddressRow> {};

TEST_P(ForecastAddress, CarriesTheTickedSeriesInAddressOrder) {
  const AddressRow& row = GetParam();
  EXPECT_EQ(ForecastAddressFor("38.5291", "-121.69418", row.flags),
            "http://forecast.weather.gov/MapClick.php?" + row.items + kTail);
}

CPreferences AllTicked() {
  CPreferences flags{};
  for (const WeatherSeries& row : kWeatherSeries) FlagOf(flags, row.id) = 1;
  return flags;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ForecastAddress,
    testing::Values(
        AddressRow{"WorkedExample",
                   Flags({SeriesId::Temperature, SeriesId::SkyCover, SeriesId::Rain}),
                   "w0=t&w1=sky&w2=rain&"},
        AddressRow{"AllTicked", AllTicked(),
                   "w0=t&w1=td&w2=wc&w3=sfcwind&w4=sky&w5=pop&w6=rh&w7=rain&w8=thunder&w9=snow&"
                   "w10=fzg&w11=sleet&"},
        AddressRow{"NoneTickedFallsBackToTemperature", Flags({}), "w0=t&"},
        // Temperature unticked disables Dew point in the dialog; its tick still counts.
        AddressRow{"DewPointOnlyWhileDisabled", Flags({SeriesId::DewPoint}), "w0=td&"},
        AddressRow{"SleetAloneIsItemZero", Flags({SeriesId::Sleet}), "w0=sleet&"},
        AddressRow{"AnyNonZeroCountsAsTicked",
                   [] {
                     CPreferences f = Flags({});
                     f.m_bSnow = -7;
                     return f;
                   }(),
                   "w0=snow&"}),
    named_rows::RowName<AddressRow>);

TEST(ForecastAddressText, CoordinatesGoInExactlyAsHeld) {
  const std::string codes[] = {"t"};
  EXPECT_EQ(BuildForecastAddress("+38.52910", "-121.694180", codes),
            "http://forecast.weather.gov/MapClick.php?w0=t&AheadHour=0&Submit=Submit&"
            "FcstType=graphical&textField1=+38.52910&textField2=-121.694180&site=all&unit=0&dd=&"
            "bw=");
}

// Records the command's calls as text; the look-up may fill the coordinates.
class RecordingView : public ForecastView {
 public:
  std::string latitude, longitude;
  std::string lookupLatitude, lookupLongitude;
  bool lookupThrows = false;
  CPreferences flags = Flags({SeriesId::Rain});
  std::vector<std::string> calls;
  std::vector<std::string> series{"stale", "stale"};
  std::size_t count = 2;

  void LookUp() override {
    calls.push_back("lookup");
    if (lookupThrows) throw std::invalid_argument("tag too close to the end");
    latitude = lookupLatitude;
    longitude = lookupLongitude;
  }
  void SavePreferences() override { calls.push_back("save"); }
  bool IsSeriesTicked(SeriesId id) override { return FlagOf(flags, id) != 0; }
  void ClearSeriesCodes() override { count = 0; }
  void AddSeriesCode(const std::string& code) override {
    if (count == series.size()) series.emplace_back();
    series[count++] = code;
  }
  std::span<const std::string> SeriesCodes() override { return {series.data(), count}; }
  void OpenInShell(const std::string& address) override { calls.push_back("open " + address); }
  void MoveFocusToLocation() override { calls.push_back("focus"); }

  void Run() { RunForecast(*this, HeldCoordinates{latitude, longitude}); }
};

const std::string kRainPage =
    "open http://forecast.weather.gov/MapClick.php?w0=rain&AheadHour=0&Submit=Submit&"
    "FcstType=graphical&textField1=1.5&textField2=-2.5&site=all&unit=0&dd=&bw=";

struct CommandRow {
  std::string name;
  std::string heldLatitude, heldLongitude;
  std::string foundLatitude, foundLongitude;
  std::vector<std::string> calls;
};

class ForecastCommand : public testing::TestWithParam<CommandRow> {};

TEST_P(ForecastCommand, Steps) {
  const CommandRow& row = GetParam();
  RecordingView view;
  view.latitude = row.heldLatitude;
  view.longitude = row.heldLongitude;
  view.lookupLatitude = row.foundLatitude;
  view.lookupLongitude = row.foundLongitude;
  view.Run();
  EXPECT_EQ(view.calls, row.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ForecastCommand,
    testing::Values(
        CommandRow{
            "HeldCoordinatesNeedNoLookup", "1.5", "-2.5", "9", "9", {"save", kRainPage, "focus"}},
        CommandRow{
            "NoneHeldLooksUpFirst", "", "", "1.5", "-2.5", {"lookup", "save", kRainPage, "focus"}},
        CommandRow{"LookupFindsNothing", "", "", "", "", {"lookup", "save", "focus"}},
        CommandRow{"OnlyLatitudeHeld", "1.5", "", "9", "9", {"save", "focus"}},
        CommandRow{"OnlyLongitudeHeld", "", "-2.5", "9", "9", {"save", "focus"}}),
    named_rows::RowName<CommandRow>);

TEST(ForecastCommandFailure, AnUnhandledLookupFailureEndsTheCommandAtOnce) {
  RecordingView view;
  view.lookupThrows = true;
  EXPECT_THROW(view.Run(), std::invalid_argument);
  EXPECT_EQ(view.calls, std::vector<std::string>{"lookup"});
}

TEST(ForecastCommandSeries, ListIsRebuiltFromEmptyEachTime) {
  RecordingView view;
  view.latitude = "1.5";
  view.longitude = "-2.5";
  view.Run();
  EXPECT_EQ(view.count, 1u);
  EXPECT_EQ(view.series[0], "rain");
}

}  // namespace
