// The in-memory extended dialog template, read back field by field, and the
// UTF-8 to UTF-16 text it carries.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/dialog_template_ex.h"
#include "platform/window/utf16_text.h"
#include "platform/window/win_types.h"
#include "tests/support/named_rows.h"
#include "ui/about_template.h"
#include "ui/main_dialog_template.h"

namespace {

// Reads the template as the dialog manager does.
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::uint16_t Word() {
    const auto v = static_cast<std::uint16_t>(bytes_.at(pos_) | (bytes_.at(pos_ + 1) << 8));
    pos_ += 2;
    return v;
  }
  std::uint32_t Dword() {
    const std::uint32_t low = Word();
    return low | (static_cast<std::uint32_t>(Word()) << 16);
  }
  std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
  std::uint8_t Byte() { return bytes_.at(pos_++); }
  // A text, or "#N" for an ordinal.
  std::string TextOrOrdinal() {
    if (bytes_.at(pos_) == 0xFF && bytes_.at(pos_ + 1) == 0xFF) {
      Word();
      return "#" + std::to_string(Word());
    }
    std::u16string text;
    for (std::uint16_t c = Word(); c != 0; c = Word()) text += static_cast<char16_t>(c);
    return Utf8FromUtf16(text);
  }
  void AlignDword() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t pos_ = 0;
};

struct TemplateRow {
  std::string name;
  const DialogTemplate* tmpl;
  std::uint32_t style;  // the value the resource compiler writes
  int controlCount;
};
using named_rows::PrintTo;

class DialogTemplateEx : public ::testing::TestWithParam<TemplateRow> {};

TEST_P(DialogTemplateEx, HeaderFontAndEveryItemReadBack) {
  const DialogTemplate& t = *GetParam().tmpl;
  const std::vector<std::uint8_t> bytes = BuildDialogTemplateEx(t);
  Reader r(bytes);
  EXPECT_EQ(r.Word(), 1);       // version
  EXPECT_EQ(r.Word(), 0xFFFF);  // extended
  EXPECT_EQ(r.Dword(), 0u);     // help id
  EXPECT_EQ(r.Dword(), t.exStyle);
  EXPECT_EQ(r.Dword(), GetParam().style);
  EXPECT_EQ(r.Word(), GetParam().controlCount);
  EXPECT_EQ(r.Short(), 0);
  EXPECT_EQ(r.Short(), 0);
  EXPECT_EQ(r.Short(), t.cx);
  EXPECT_EQ(r.Short(), t.cy);
  EXPECT_EQ(r.Word(), 0);  // no menu
  EXPECT_EQ(r.Word(), 0);  // the system's class
  EXPECT_EQ(r.TextOrOrdinal(), t.caption);
  EXPECT_EQ(r.Word(), 8);    // points
  EXPECT_EQ(r.Word(), 0);    // weight
  EXPECT_EQ(r.Byte(), 0);    // not italic
  EXPECT_EQ(r.Byte(), 1);    // default character set
  EXPECT_EQ(r.TextOrOrdinal(), "MS Shell Dlg");
  for (const DialogControl& c : t.controls) {
    SCOPED_TRACE(c.caption);
    r.AlignDword();
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(r.Dword(), c.style);
    EXPECT_EQ(r.Short(), c.x);
    EXPECT_EQ(r.Short(), c.y);
    EXPECT_EQ(r.Short(), c.cx);
    EXPECT_EQ(r.Short(), c.cy);
    EXPECT_EQ(r.Dword(), static_cast<std::uint32_t>(c.id));
    const std::string cls = r.TextOrOrdinal();
    EXPECT_EQ(cls, std::string(c.cls) == "EDIT"     ? "#129"
                   : std::string(c.cls) == "BUTTON" ? "#128"
                                                    : "#130");
    const std::string caption = r.TextOrOrdinal();
    if ((c.style & SS_TYPEMASK) == SS_ICON && cls == "#130") {
      EXPECT_EQ(caption, "#128");  // the icon resource, by ordinal
    } else {
      EXPECT_EQ(caption, c.caption);
    }
    EXPECT_EQ(r.Word(), 0);  // no creation data
  }
  EXPECT_TRUE(r.AtEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Templates, DialogTemplateEx,
    ::testing::Values(TemplateRow{"MainDialog", &kMainDialogTemplate, 0x90CC0048, 33},
                      TemplateRow{"AboutBox", &kAboutBoxTemplate, 0x80C800C8, 4}),
    named_rows::RowName<TemplateRow>);

TEST(DialogTemplateEx, IdMinusOneIsWrittenAsAllOnesAndMinusCoordinatesKeepTheirSign) {
  const DialogControl controls[] = {{-1, "Static", WS_CHILD, -3, 2, 10, 8, "x"}};
  const DialogTemplate t{1, WS_POPUP, 0, 20, 10, "", nullptr, 0, controls};
  const std::vector<std::uint8_t> bytes = BuildDialogTemplateEx(t);
  Reader r(bytes);
  for (int i = 0; i < 15; ++i) r.Word();  // the header up to the class
  EXPECT_EQ(r.TextOrOrdinal(), "");  // caption; no font without DS_SETFONT
  r.AlignDword();
  r.Dword();
  r.Dword();
  r.Dword();
  EXPECT_EQ(r.Short(), -3);
  r.Short();
  r.Short();
  r.Short();
  EXPECT_EQ(r.Dword(), 0xFFFFFFFFu);
  EXPECT_EQ(r.TextOrOrdinal(), "#130") << "class names match whatever their case";
  EXPECT_EQ(r.TextOrOrdinal(), "x");
}

struct TextRow {
  std::string name;
  std::string utf8;
  std::u16string utf16;
};

class Utf16Text : public ::testing::TestWithParam<TextRow> {};

TEST_P(Utf16Text, Utf8ToUtf16) { EXPECT_EQ(Utf16FromUtf8(GetParam().utf8), GetParam().utf16); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16Text,
    ::testing::Values(TextRow{"Ascii", "Pine Hollow", u"Pine Hollow"},
                      TextRow{"TwoAndThreeBytes", "Z\xC3\xBCrich \xE2\x82\xAC", u"Z\u00FCrich \u20AC"},
                      TextRow{"Surrogates", "\xF0\x9F\x8C\xB2", u"\U0001F332"},
                      TextRow{"LoneContinuation", "a\x80z", u"a\uFFFDz"},
                      TextRow{"Truncated", "a\xE2\x82", u"a\uFFFD\uFFFD"},
                      TextRow{"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      TextRow{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      TextRow{"Latin1Byte", "caf\xE9", u"caf\uFFFD"}),
    named_rows::RowName<TextRow>);

TEST(Utf16Text, BackToUtf8KeepsWellFormedTextAndReplacesLoneSurrogates) {
  const std::string text = "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x8C\xB2";
  EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(text)), text);
  EXPECT_EQ(Utf8FromUtf16(u"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(Utf8FromUtf16(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

}  // namespace
