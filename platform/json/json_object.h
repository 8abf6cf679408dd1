// One flat JSON object as text, for output that scripts read.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// A member's value: null, a text or a number.
using JsonValue = std::variant<std::nullptr_t, std::string, double>;
using JsonMembers = std::vector<std::pair<std::string, JsonValue>>;

// The members in the given order, on one line. Bytes of a text that are not
// UTF-8 become U+FFFD, so the output is always valid JSON.
std::string JsonObjectText(const JsonMembers& members);
