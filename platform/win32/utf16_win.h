// Text at the system's edge: UTF-8 inside the program, UTF-16 for the W functions.
#pragma once

#include <string>
#include <string_view>

// Bytes that are not UTF-8 become U+FFFD, as the system converts them.
std::wstring Utf16(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view utf16);
