// The elevation request, the scan of its reply and its display text.
#pragma once

#include <string>
#include <string_view>

class HttpReply;

inline constexpr double kFeetPerMeter = 3.2808398950131235;  // nearest to 1250/381
inline constexpr double kMetersPerMeter = 1.0;

std::string BuildElevationUrl(std::string_view latitude, std::string_view longitude,
                              std::string_view apiKey);
// Reads up to the first "<elevation>" line and no further.
bool ScanElevationReply(HttpReply& reply, std::string& meters);
// meters (read as atof reads it) times factor, formatted "%lf".
std::string FormatElevation(std::string_view meters, double factor);
