// Service replies laid out as the services lay them out, for the in-memory tests.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kGeocodePrefix = "https://maps.googleapis.com/maps/api/geocode/xml?";
inline constexpr const char* kElevationPrefix =
    "https://maps.googleapis.com/maps/api/elevation/xml?";

// Pine Hollow, CA 95321, USA at 37.9495135,-120.7950794.
std::vector<std::string> FoundGeocodeReply();
// An elevation reply whose one result line is `line`.
std::vector<std::string> ElevationReply(const std::string& line);
