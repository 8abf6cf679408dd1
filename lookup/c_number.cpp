// Number reading and writing in the C locale's rules, whatever the process locale.
#include "lookup/c_number.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c, bool hex) {
  if (c >= '0' && c <= '9') return true;
  return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// from_chars leaves the value alone when the result is out of range, where
// atof gives infinity or zero; tells the two apart from the text's magnitude.
bool Overflows(std::string_view number, bool hex) {
  std::size_t i = 0;
  long order = 0;  // digits before the point, or minus the zeros just after it
  bool significant = false;
  bool afterPoint = false;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (c == '.') {
      afterPoint = true;
      continue;
    }
    if (!IsDigit(c, hex)) break;
    if (c != '0') significant = true;
    if (!afterPoint && significant) ++order;
    if (afterPoint && !significant) --order;
  }
  long exponent = 0;
  if (i < number.size() && (hex ? (number[i] | 0x20) == 'p' : (number[i] | 0x20) == 'e')) {
    ++i;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size() && IsDigit(number[i], false); ++i) {
      if (exponent < 1'000'000) exponent = exponent * 10 + (number[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return (hex ? 4 : 1) * order + exponent > 0;
}

// The length of the number at the start of TEXT as strtod would take it:
// digits with at most one point, then an exponent only if it is well formed.
// from_chars cannot be trusted with the exponent ("p+-8" has been seen taken
// as "p-8"), so it is only ever handed this prefix.
std::size_t NumberLength(std::string_view text, bool hex) {
  std::size_t i = 0;
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] == '.' && !point) {
      point = true;
    } else if (IsDigit(text[i], hex)) {
      digits = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < text.size() && (text[i] | 0x20) == (hex ? 'p' : 'e')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j], false)) {
      while (j < text.size() && IsDigit(text[j], false)) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

double AtofC(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string_view rest = text.substr(i);
  // from_chars takes its own minus sign, which atof would not take twice.
  if (rest.empty() || rest[0] == '+' || rest[0] == '-') return 0.0;

  bool hex = false;
  if (rest.size() > 2 && rest[0] == '0' && (rest[1] | 0x20) == 'x' &&
      (IsDigit(rest[2], true) || (rest[2] == '.' && rest.size() > 3 && IsDigit(rest[3], true)))) {
    hex = true;
    rest.remove_prefix(2);
  }
  const std::size_t length = NumberLength(rest, hex);
  if (length > 0) rest = rest.substr(0, length);  // otherwise inf or nan, or nothing
  double value = 0.0;
  const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value,
                                         hex ? std::chars_format::hex : std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    value = Overflows(rest.substr(0, end - rest.data()), hex)
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  } else if (ec != std::errc()) {
    return 0.0;  // nothing converted: no sign either
  }
  return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals) {
  if (decimals < 0) decimals = 6;  // printf's rule for a negative precision
  // The largest double has 309 digits before the point.
  std::string text(std::numeric_limits<double>::max_exponent10 + 4 + decimals, '\0');
  const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::fixed, decimals);
  text.resize(ec == std::errc() ? end - text.data() : 0);
  return text;
}
