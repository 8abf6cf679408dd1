// Cutting a value out of one reply line by position.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Raised when a tag stands too close to its line's end to cut a value from
// it. Kept apart from CInternetException: the look-up does not catch it.
class InvalidArgumentError : public std::invalid_argument {
 public:
  InvalidArgumentError();
  static constexpr unsigned long kStatus = 0x80070057;  // E_INVALIDARG
};

// The text after the first occurrence of tag, less its last (tag length + 1)
// characters. False (value untouched) when the tag is absent; throws
// InvalidArgumentError, value then holding the uncut rest, when too short.
bool ExtractTagValue(std::string_view line, std::string_view tag, std::string& value);
