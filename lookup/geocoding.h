// The geocoding request and the scan of its reply.
#pragma once

#include <string>
#include <string_view>

#include "lookup/lookup_result.h"

class HttpReply;

std::string ApplyLocationShortcut(std::string location);
std::string BuildGeocodeUrl(std::string_view location, std::string_view apiKey);

// "LAT,LON" when the location is exactly two decimal numbers separated by a
// comma, blanks allowed around each, latitude within ±90 and longitude within
// ±180; empty otherwise. The numbers are kept as typed.
std::string CoordinatePair(std::string_view location);
// The reverse form of the geocoding request, for a pair from CoordinatePair.
std::string BuildReverseGeocodeUrl(std::string_view latlng, std::string_view apiKey);

// What the reply said of itself; used to tell a refused request from a place
// that does not exist.
struct GeocodeReplyStatus {
  std::string status;        // text of <status>, empty when none was read
  std::string errorMessage;  // text of <error_message>, empty when none
};

// Reads lines until the first result's two coordinates are in; true when
// found. Writes address, latitude and longitude of result as their tags are
// met; never closes the reply.
bool ScanGeocodeReply(HttpReply& reply, LookupResult& result, GeocodeReplyStatus* status = nullptr);
