// UTF-8 and UTF-16 conversions through the system's own converter.
#include "platform/win32/utf16_win.h"

#include <windows.h>

std::wstring Utf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, text.data(), units);
  return text;
}

std::string Utf8(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int length = static_cast<int>(utf16.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, text.data(), bytes, nullptr, nullptr);
  return text;
}
