// The outcome of one look-up, as the services wrote it.
#pragma once

#include <string>

struct LookupResult {
  std::string address;
  std::string latitude;   // decimal text exactly as the geocoder wrote it
  std::string longitude;  // likewise
  std::string elevation;  // meters, as the elevation service wrote it
};
