// Degrees:minutes:seconds text of a decimal angle.
#include "lookup/coordinate_format.h"

#include <cmath>

#include "lookup/c_number.h"

std::string FormatDegreesDms(double degrees) {
  const char* sign = degrees < 0 ? "-" : "";
  // fabs also turns a negative zero into a plain one.
  const double a = std::fabs(degrees);
  // Not an angle of this world (no latitude or longitude): shown as a plain
  // number rather than cast out of the integer range.
  if (!(a < 2147483648.0)) return sign + FormatFixed(a, 4);

  long long d = static_cast<long long>(a);
  const double x = (a - static_cast<double>(d)) * 60.0;
  int m = static_cast<int>(x);
  std::string seconds = FormatFixed((x - m) * 60.0, 4);
  // Seconds that print as 60.0000 are a whole minute more.
  if (seconds == "60.0000") {
    seconds = "0.0000";
    if (++m == 60) {
      m = 0;
      ++d;
    }
  }
  if (seconds.size() < 7) seconds.insert(0, 7 - seconds.size(), '0');
  std::string minutes = std::to_string(m);
  if (minutes.size() < 2) minutes.insert(0, 1, '0');
  return sign + std::to_string(d) + ":" + minutes + ":" + seconds;
}
