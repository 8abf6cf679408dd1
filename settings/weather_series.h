// The twelve weather series: the one table that ties each display flag to its
// registry value, its check box and its place in the forecast address.
#pragma once

#include <array>

#include "platform/interfaces/win_bool.h"

enum class SeriesId {
  DewPoint,
  Rain,
  Thunder,
  Snow,
  FreezingRain,
  Sleet,
  PrecipitationPotential,
  RelativeHumidity,
  SkyCover,
  SurfaceWinds,
  Temperature,
  WindChill,
};

inline constexpr int IDC_TEMPERATURE = 1008;
inline constexpr int IDC_WIND_CHILL = 1009;
inline constexpr int IDC_DEW_POINT = 1010;
inline constexpr int IDC_SURFACE_WINDS = 1012;
inline constexpr int IDC_SKY_COVER = 1013;
inline constexpr int IDC_PRECIP_POTENTIAL = 1014;
inline constexpr int IDC_RELATIVE_HUMIDITY = 1015;
inline constexpr int IDC_THUNDER = 1016;
inline constexpr int IDC_RAIN = 1017;
inline constexpr int IDC_SNOW = 1018;
inline constexpr int IDC_FREEZING_RAIN = 1019;
inline constexpr int IDC_SLEET = 1020;

struct WeatherSeries {
  SeriesId id;
  const char* valueName;  // in the Preferences key
  int checkBoxId;
  const char* caption;
  BOOL defaultValue;
  const char* forecastCode;
  int addressPosition;  // 1-based order of the series in the forecast address
};

// Rows in load and save order; walk by addressPosition for the forecast address.
inline constexpr std::array<WeatherSeries, 12> kWeatherSeries{{
    {SeriesId::DewPoint, "DewPoint", IDC_DEW_POINT, "&Dew point", 1, "td", 2},
    {SeriesId::Rain, "Rain", IDC_RAIN, "&Rain", 1, "rain", 8},
    {SeriesId::Thunder, "Thunder", IDC_THUNDER, "&Thunder", 1, "thunder", 9},
    {SeriesId::Snow, "Snow", IDC_SNOW, "&Snow", 1, "snow", 10},
    {SeriesId::FreezingRain, "FreezingRain", IDC_FREEZING_RAIN, "&Freezing rain", 1, "fzg", 11},
    {SeriesId::Sleet, "Sleet", IDC_SLEET, "Sl&eet", 1, "sleet", 12},
    {SeriesId::PrecipitationPotential, "PrecipitationPotential", IDC_PRECIP_POTENTIAL,
     "&Precip Potential", 1, "pop", 6},
    {SeriesId::RelativeHumidity, "RelativeHumidity", IDC_RELATIVE_HUMIDITY, "Relative &humidity", 1,
     "rh", 7},
    {SeriesId::SkyCover, "SkyCover", IDC_SKY_COVER, "S&ky cover", 1, "sky", 5},
    {SeriesId::SurfaceWinds, "SurfaceWinds", IDC_SURFACE_WINDS, "Surface &winds", 1, "sfcwind", 4},
    {SeriesId::Temperature, "Temperature", IDC_TEMPERATURE, "&Temperature", 1, "t", 1},
    {SeriesId::WindChill, "WindChill", IDC_WIND_CHILL, "Wind &chill", 1, "wc", 3},
}};

// The member named after the series, in any class holding the twelve flags
// (CPreferences, the dialog), so every copy is reached through the one table.
template <class Flags>
constexpr auto& FlagOf(Flags& flags, SeriesId id) {
  switch (id) {
    case SeriesId::DewPoint:
      return flags.m_bDewPoint;
    case SeriesId::Rain:
      return flags.m_bRain;
    case SeriesId::Thunder:
      return flags.m_bThunder;
    case SeriesId::Snow:
      return flags.m_bSnow;
    case SeriesId::FreezingRain:
      return flags.m_bFreezingRain;
    case SeriesId::Sleet:
      return flags.m_bSleet;
    case SeriesId::PrecipitationPotential:
      return flags.m_bPrecipitationPotential;
    case SeriesId::RelativeHumidity:
      return flags.m_bRelativeHumidity;
    case SeriesId::SkyCover:
      return flags.m_bSkyCover;
    case SeriesId::SurfaceWinds:
      return flags.m_bSurfaceWinds;
    case SeriesId::Temperature:
      return flags.m_bTemperature;
    case SeriesId::WindChill:
      break;
  }
  return flags.m_bWindChill;
}
