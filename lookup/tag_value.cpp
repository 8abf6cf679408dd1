// Cutting a value out of one reply line by position.
#include "lookup/tag_value.h"

InvalidArgumentError::InvalidArgumentError()
    : std::invalid_argument("The parameter is incorrect.") {}

bool ExtractTagValue(std::string_view line, std::string_view tag, std::string& value) {
  const std::size_t at = line.find(tag);
  if (at == std::string_view::npos) return false;
  value.assign(line.substr(at + tag.size()));
  // What is cut off is taken to be the closing tag; it is not checked.
  const std::size_t closing = tag.size() + 1;
  if (value.size() < closing) throw InvalidArgumentError();
  value.resize(value.size() - closing);
  return true;
}
