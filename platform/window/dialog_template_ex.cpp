// The in-memory extended dialog template, written field by field.
#include "platform/window/dialog_template_ex.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/window/utf16_text.h"

namespace {

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kSsTypeMask = 0x1F;
constexpr std::uint32_t kSsIcon = 0x03;
constexpr std::uint8_t kDefaultCharset = 1;

class Writer {
 public:
  void Word(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void Dword(std::uint32_t v) {
    Word(static_cast<std::uint16_t>(v & 0xFFFF));
    Word(static_cast<std::uint16_t>(v >> 16));
  }
  void Short(int v) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))); }
  void Byte(std::uint8_t v) { bytes.push_back(v); }
  // Wide text and its terminating zero.
  void Text(const char* text) {
    for (char16_t c : Utf16FromUtf8(text != nullptr ? text : "")) Word(c);
    Word(0);
  }
  void Ordinal(std::uint16_t v) {
    Word(0xFFFF);
    Word(v);
  }
  void AlignDword() {
    while (bytes.size() % 4 != 0) bytes.push_back(0);
  }
  std::vector<std::uint8_t> bytes;
};

// The atoms of the predefined control classes, by the names templates use.
std::uint16_t ClassAtom(const char* cls) {
  static constexpr struct {
    const char* name;
    std::uint16_t atom;
  } kClasses[] = {{"BUTTON", 0x80},    {"EDIT", 0x81},     {"STATIC", 0x82},
                  {"LISTBOX", 0x83},   {"SCROLLBAR", 0x84}, {"COMBOBOX", 0x85}};
  for (const auto& c : kClasses) {
    if (cls != nullptr && std::strlen(cls) == std::strlen(c.name) &&
        std::equal(c.name, c.name + std::strlen(c.name), cls,
                   [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); })) {
      return c.atom;
    }
  }
  return 0;
}

bool ParseOrdinal(const char* text, std::uint16_t& value) {
  if (text == nullptr || *text == '\0') return false;
  const std::string_view s(text);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc() && end == s.data() + s.size();
}

}  // namespace

std::vector<std::uint8_t> BuildDialogTemplateEx(const DialogTemplate& tmpl) {
  Writer w;
  w.Word(1);       // dlgVer
  w.Word(0xFFFF);  // signature: extended
  w.Dword(0);      // helpID
  w.Dword(tmpl.exStyle);
  w.Dword(tmpl.style);
  w.Word(static_cast<std::uint16_t>(tmpl.controls.size()));
  w.Short(0);
  w.Short(0);
  w.Short(tmpl.cx);
  w.Short(tmpl.cy);
  w.Word(0);  // no menu
  w.Word(0);  // the system's dialog class
  w.Text(tmpl.caption);
  if (tmpl.style & kDsSetFont) {
    w.Word(static_cast<std::uint16_t>(tmpl.pointSize));
    w.Word(0);  // weight
    w.Byte(0);  // italic
    w.Byte(kDefaultCharset);
    w.Text(tmpl.fontName);
  }
  for (const DialogControl& c : tmpl.controls) {
    w.AlignDword();
    w.Dword(0);  // helpID
    w.Dword(0);  // exStyle
    w.Dword(c.style);
    w.Short(c.x);
    w.Short(c.y);
    w.Short(c.cx);
    w.Short(c.cy);
    w.Dword(static_cast<std::uint32_t>(c.id));
    if (const std::uint16_t atom = ClassAtom(c.cls); atom != 0) {
      w.Ordinal(atom);
    } else {
      w.Text(c.cls);
    }
    std::uint16_t icon = 0;
    if (ClassAtom(c.cls) == 0x82 && (c.style & kSsTypeMask) == kSsIcon &&
        ParseOrdinal(c.caption, icon)) {
      w.Ordinal(icon);
    } else {
      w.Text(c.caption);
    }
    w.Word(0);  // no creation data
  }
  return std::move(w.bytes);
}
