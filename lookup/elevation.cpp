// The elevation request, the scan of its reply and its display text.
#include "lookup/elevation.h"

#include "lookup/c_number.h"
#include "lookup/query_encoding.h"
#include "lookup/service_key.h"
#include "lookup/tag_value.h"
#include "platform/interfaces/http_text_source.h"

std::string BuildElevationUrl(std::string_view latitude, std::string_view longitude,
                              std::string_view apiKey) {
  return std::string("https://") + kMapsHost +
         "/maps/api/elevation/xml?locations=" + EncodeQueryValue(latitude) + "," +
         EncodeQueryValue(longitude) + "&sensor=false&key=" + EncodeQueryValue(apiKey);
}

bool ScanElevationReply(HttpReply& reply, std::string& meters) {
  std::string line;
  while (reply.ReadString(line)) {
    if (ExtractTagValue(line, "<elevation>", meters)) return true;
  }
  return false;
}

std::string FormatElevation(std::string_view meters, double factor) {
  return FormatFixed(AtofC(meters) * factor, 6);
}
