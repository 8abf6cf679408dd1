// Fuzzes the geocoding and elevation reply scans, the tag rule, the C-locale numbers
// and the rule that tells a coordinate pair from a place.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/c_number.h"
#include "lookup/coordinate_format.h"
#include "lookup/elevation.h"
#include "lookup/geocoding.h"
#include "lookup/tag_value.h"
#include "platform/interfaces/http_text_source.h"

namespace {

// Lines as the HTTP text source gives them: split at LF, every CR dropped.
std::vector<std::string> SplitLines(std::string_view body) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : body) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else if (c != '\r') {
      line.push_back(c);
    }
  }
  if (!body.empty() && body.back() != '\n') lines.push_back(std::move(line));
  return lines;
}

class LinesReply : public HttpReply {
 public:
  explicit LinesReply(const std::vector<std::string>& lines) : lines_(lines) {}
  bool ReadString(std::string& line) override {
    if (next_ == lines_.size()) return false;
    line = lines_[next_++];
    return true;
  }
  void Close() override {}
  std::size_t read() const { return next_; }

 private:
  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;
};

struct GeocodeRun {
  int outcome;  // 0 not found, 1 found, 2 tag rule refused a line
  LookupResult result;
  std::size_t linesRead;
};

GeocodeRun ScanGeocode(const std::vector<std::string>& lines, GeocodeReplyStatus* status) {
  LinesReply reply(lines);
  GeocodeRun run{0, {}, 0};
  try {
    run.outcome = ScanGeocodeReply(reply, run.result, status) ? 1 : 0;
  } catch (const InvalidArgumentError&) {
    run.outcome = 2;
  }
  run.linesRead = reply.read();
  return run;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

// AtofC and FormatFixed must agree with the C library in the C locale, which
// is the locale this process runs in.
void CheckNumber(const std::string& text) {
  const double expected = std::strtod(text.c_str(), nullptr);
  const double actual = AtofC(text);
  if (std::isnan(expected)) {
    Check(std::isnan(actual) && std::signbit(actual) == std::signbit(expected), "AtofC nan");
  } else {
    Check(std::memcmp(&expected, &actual, sizeof actual) == 0, "AtofC matches strtod");
  }
  char printed[400];
  std::snprintf(printed, sizeof printed, "%.6f", actual);
  Check(FormatFixed(actual, 6) == printed, "FormatFixed matches printf");
  (void)FormatDegreesDms(actual);
}

// A pair is two numbers in range, blanks gone, and reads as itself again.
void CheckPair(const std::string& text) {
  const std::string pair = CoordinatePair(text);
  if (pair.empty()) return;
  const std::size_t comma = pair.find(',');
  Check(comma != std::string::npos && pair.find(',', comma + 1) == std::string::npos,
        "pair has one comma");
  Check(pair.find_first_of(" \t") == std::string::npos, "pair has no blanks");
  Check(std::fabs(AtofC(pair.substr(0, comma))) <= 90, "latitude in range");
  Check(std::fabs(AtofC(pair.substr(comma + 1))) <= 180, "longitude in range");
  Check(CoordinatePair(pair) == pair, "pair reads as itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines =
      SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));

  const GeocodeRun plain = ScanGeocode(lines, nullptr);
  GeocodeReplyStatus status;
  const GeocodeRun withStatus = ScanGeocode(lines, &status);
  Check(plain.outcome == withStatus.outcome && plain.linesRead == withStatus.linesRead &&
            plain.result.address == withStatus.result.address &&
            plain.result.latitude == withStatus.result.latitude &&
            plain.result.longitude == withStatus.result.longitude,
        "asking for the status changes nothing");

  {
    LinesReply reply(lines);
    std::string meters;
    try {
      if (ScanElevationReply(reply, meters)) (void)FormatElevation(meters, kFeetPerMeter);
    } catch (const InvalidArgumentError&) {
    }
  }

  for (const std::string& line : lines) {
    for (std::string_view tag : {"<formatted_address>", "<lat>", "<lng>", "<elevation>"}) {
      std::string value;
      try {
        if (ExtractTagValue(line, tag, value)) {
          Check(value.size() + 2 * tag.size() + 1 <= line.size(), "value fits its line");
        }
      } catch (const InvalidArgumentError&) {
      }
    }
    if (line.size() <= 512) CheckNumber(line);
    CheckPair(line);
  }
  return 0;
}
