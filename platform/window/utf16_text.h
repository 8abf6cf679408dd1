// UTF-8, the program's text, to and from UTF-16, the text of the system's wide calls.
#pragma once

#include <string>
#include <string_view>

// Bytes that are not UTF-8 become U+FFFD, one for each bad byte.
std::u16string Utf16FromUtf8(std::string_view text);
// A lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
