// Assembly of the forecast page address.
#include "forecast/forecast_address.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view kTail =
    "AheadHour=0&Submit=Submit&FcstType=graphical&textField1=XXX&textField2=YYY&site=all&unit=0&"
    "dd=&bw=";

void ReplaceAll(std::string& text, std::string_view marker, std::string_view value) {
  for (std::size_t at = text.find(marker); at != std::string::npos;
       at = text.find(marker, at + value.size())) {
    text.replace(at, marker.size(), value);
  }
}

}  // namespace

std::string BuildForecastAddress(std::string_view latitude, std::string_view longitude,
                                 std::span<const std::string> codes) {
  std::string address = std::string("http://") + kForecastHost + "/MapClick.php?";
  for (std::size_t i = 0; i < codes.size(); ++i) {
    address += "w" + std::to_string(i) + "=" + codes[i] + "&";
  }
  address += kTail;
  ReplaceAll(address, "XXX", latitude);
  ReplaceAll(address, "YYY", longitude);
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
