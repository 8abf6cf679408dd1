// Percent-encoding of a text that goes into a URL query as one value.
#pragma once

#include <string>
#include <string_view>

// Every byte but A-Z a-z 0-9 - . _ ~ , becomes %XX (upper-case hex); a blank
// is %20. Text is taken as its bytes (UTF-8 on this system).
std::string EncodeQueryValue(std::string_view text);
