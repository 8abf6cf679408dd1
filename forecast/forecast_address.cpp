// Assembly of the forecast page address.
#include "forecast/forecast_address.h"

#include <array>

// The coordinates are put in where the page expects them rather than by
// replacing markers, so a coordinate text can never be taken for a marker.
std::string BuildForecastAddress(std::string_view latitude, std::string_view longitude,
                                 std::span<const std::string> codes) {
  std::string address = std::string("http://") + kForecastHost + "/MapClick.php?";
  for (std::size_t i = 0; i < codes.size(); ++i) {
    address += "w" + std::to_string(i) + "=" + codes[i] + "&";
  }
  address += "AheadHour=0&Submit=Submit&FcstType=graphical&textField1=";
  address += latitude;
  address += "&textField2=";
  address += longitude;
  address += "&site=all&unit=0&dd=&bw=";
  return address;
}

std::vector<std::string> TickedSeriesCodes(const std::function<bool(SeriesId)>& ticked) {
  std::array<const WeatherSeries*, kWeatherSeries.size()> inAddressOrder{};
  for (const WeatherSeries& row : kWeatherSeries) inAddressOrder[row.addressPosition - 1] = &row;
  std::vector<std::string> codes;
  for (const WeatherSeries* row : inAddressOrder) {
    if (ticked(row->id)) codes.emplace_back(row->forecastCode);
  }
  if (codes.empty()) codes.emplace_back("t");
  return codes;
}
