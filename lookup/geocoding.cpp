// The geocoding request and the scan of its reply.
#include "lookup/geocoding.h"

#include <array>
#include <cmath>

#include "lookup/c_number.h"
#include "lookup/query_encoding.h"
#include "lookup/service_key.h"
#include "lookup/tag_value.h"
#include "platform/interfaces/http_text_source.h"

namespace {

struct LocationShortcut {
  std::string_view text;
  bool ignoreCase;
  std::string_view coordinates;
};

constexpr std::string_view kRidgeClub = "38.52910,-121.69418";
constexpr std::string_view kPineHollow = "37.9495135,-120.7950794";

// Two groups: the second is tried on the text the first left.
constexpr std::array<LocationShortcut, 3> kFirstGroup{{
    {"KRGC", false, kRidgeClub},
    {"krgc", false, kRidgeClub},
    {"Kestrel Ridge Gliding Club", false, kRidgeClub},
}};
constexpr std::array<LocationShortcut, 2> kSecondGroup{{
    {"Pine Hollow", true, kPineHollow},
    {"TALON", false, kPineHollow},
}};

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Matches(const LocationShortcut& row, std::string_view text) {
  if (!row.ignoreCase) return text == row.text;
  if (text.size() != row.text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(row.text[i])) return false;
  }
  return true;
}

template <std::size_t N>
void ApplyGroup(const std::array<LocationShortcut, N>& group, std::string& location) {
  for (const LocationShortcut& row : group) {
    if (Matches(row, location)) {
      location = row.coordinates;
      return;
    }
  }
}

// Our own tags: a line too short for them gives nothing rather than a failure.
void NoteStatusTag(std::string_view line, std::string_view tag, bool& seen, std::string& value) {
  if (seen) return;
  const std::size_t at = line.find(tag);
  if (at == std::string_view::npos) return;
  seen = true;
  const std::string_view rest = line.substr(at + tag.size());
  if (rest.size() > tag.size()) value = rest.substr(0, rest.size() - tag.size() - 1);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// One decimal number with its blanks; the number alone when it is one and
// its magnitude is at most `limit`, empty otherwise.
std::string_view DecimalWithin(std::string_view text, double limit) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  for (; i < text.size() && IsDecimalDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDecimalDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0 || i != text.size()) return {};
  return std::fabs(AtofC(text)) <= limit ? text : std::string_view();
}

}  // namespace

std::string ApplyLocationShortcut(std::string location) {
  ApplyGroup(kFirstGroup, location);
  ApplyGroup(kSecondGroup, location);
  return location;
}

std::string BuildGeocodeUrl(std::string_view location, std::string_view apiKey) {
  return std::string("https://") + kMapsHost +
         "/maps/api/geocode/xml?address=" + EncodeQueryValue(location) +
         "&sensor=false&key=" + EncodeQueryValue(apiKey);
}

std::string CoordinatePair(std::string_view location) {
  const std::size_t comma = location.find(',');
  if (comma == std::string_view::npos) return {};
  const std::string_view latitude = DecimalWithin(location.substr(0, comma), 90);
  const std::string_view longitude = DecimalWithin(location.substr(comma + 1), 180);
  if (latitude.empty() || longitude.empty()) return {};
  return std::string(latitude) + "," + std::string(longitude);
}

std::string BuildReverseGeocodeUrl(std::string_view latlng, std::string_view apiKey) {
  return std::string("https://") + kMapsHost +
         "/maps/api/geocode/xml?latlng=" + EncodeQueryValue(latlng) +
         "&sensor=false&key=" + EncodeQueryValue(apiKey);
}

bool ScanGeocodeReply(HttpReply& reply, LookupResult& result, GeocodeReplyStatus* status) {
  bool statusSeen = false;
  bool errorMessageSeen = false;
  if (status != nullptr) *status = {};

  bool inside = false;
  int coordinates = 0;
  std::string line;
  while (coordinates < 2 && reply.ReadString(line)) {
    if (status != nullptr) {
      NoteStatusTag(line, "<status>", statusSeen, status->status);
      NoteStatusTag(line, "<error_message>", errorMessageSeen, status->errorMessage);
    }
    // A block's opening or closing line carries nothing else that is read.
    if (!inside && line.find("<location>") != std::string::npos) {
      inside = true;
      continue;
    }
    if (inside && line.find("</location>") != std::string::npos) {
      inside = false;
      continue;
    }
    if (ExtractTagValue(line, "<formatted_address>", result.address)) continue;
    if (!inside) continue;
    if (ExtractTagValue(line, "<lat>", result.latitude) ||
        ExtractTagValue(line, "<lng>", result.longitude)) {
      ++coordinates;
    }
  }
  return coordinates == 2;
}
