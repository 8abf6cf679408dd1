// The address of the forecast page for a place and the ticked weather series.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/weather_series.h"

inline constexpr const char* kForecastHost = "forecast.weather.gov";

// "http://", the host, "/MapClick.php?", one "w<i>=<code>&" per code and the
// fixed tail, with the coordinate texts put in unencoded, exactly as held.
std::string BuildForecastAddress(std::string_view latitude, std::string_view longitude,
                                 std::span<const std::string> codes);

// The codes of the ticked series in address order; "t" alone when none is.
std::vector<std::string> TickedSeriesCodes(const std::function<bool(SeriesId)>& ticked);

// The address Forecast opens for these coordinates and display flags (any
// class holding the twelve m_b flags: CPreferences, the dialog).
template <class Flags>
std::string ForecastAddressFor(std::string_view latitude, std::string_view longitude,
                               const Flags& flags) {
  return BuildForecastAddress(latitude, longitude, TickedSeriesCodes([&flags](SeriesId id) {
                                return FlagOf(flags, id) != 0;
                              }));
}
