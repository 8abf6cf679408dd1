// The REGEDIT4 text form: each value type written as expected and read back
// byte for byte, and what the reader accepts and refuses.
#include <gtest/gtest.h>

#include <string>

#include "platform/registry/hive.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar";

struct ValueCase {
  const char* name;
  HiveValue value;
  std::string line;  // as it stands in the file
};

class ValueTextTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueTextTest, WritesItsLineAndReadsBackByteForByte) {
  const Hive hive{{HiveKey{kKey, {GetParam().value}}}};
  const std::string text = SerializeHive(hive);
  EXPECT_EQ(text, "REGEDIT4\n\n[" + std::string(kKey) + "]\n" + GetParam().line + "\n");
  EXPECT_EQ(ParseHive(text), hive);
}

using namespace std::string_literals;

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Types, ValueTextTest,
    ::testing::Values(
        ValueCase{"Text",
                  {"LastLocation", reg::kSz, "Pine Hollow\0"s},
                  R"("LastLocation"="Pine Hollow")"},
        ValueCase{"EmptyText", {"LastLocation", reg::kSz, "\0"s}, R"("LastLocation"="")"},
        ValueCase{"Escapes",
                  {R"(a"b\c)", reg::kSz, "C:\\dir\\\"q\"\0"s},
                  R"("a\"b\\c"="C:\\dir\\\"q\"")"},
        ValueCase{"CodePageText", {"x", reg::kSz, "caf\xe9\0"s}, "\"x\"=\"caf\xe9\""},
        ValueCase{"DefaultValue", {"", reg::kSz, "v\0"s}, R"(@="v")"},
        ValueCase{"TextWithoutNul", {"x", reg::kSz, "ab"}, R"("x"=hex(1):61,62)"},
        ValueCase{"TextWithInnerNul", {"x", reg::kSz, "a\0b\0"s}, R"("x"=hex(1):61,00,62,00)"},
        ValueCase{"TextWithLineBreak", {"x", reg::kSz, "a\nb\0"s}, R"("x"=hex(1):61,0a,62,00)"},
        ValueCase{"TextWithNoBytes", {"x", reg::kSz, ""}, R"("x"=hex(1):)"},
        ValueCase{"Dword", {"Sleet", reg::kDword, "\x2a\x01\0\x80"s}, R"("Sleet"=dword:8000012a)"},
        ValueCase{"ShortDword", {"x", reg::kDword, "\x01\x02"s}, R"("x"=hex(4):01,02)"},
        ValueCase{
            "Expandable", {"x", reg::kExpandSz, "%HOME%\0"s}, R"("x"=hex(2):25,48,4f,4d,45,25,00)"},
        ValueCase{"Binary", {"x", reg::kBinary, "\xff\0"s}, R"("x"=hex(3):ff,00)"},
        ValueCase{"OtherType", {"x", 0x1b, "\x01"s}, R"("x"=hex(1b):01)"},
        ValueCase{"NoneType", {"x", reg::kNone, ""}, R"("x"=hex(0):)"},
        ValueCase{"LongBinaryWraps",
                  {"x", reg::kBinary, std::string(30, '\x11')},
                  "\"x\"=hex(3):" + Repeat("11,", 22) + "\\\n  " + Repeat("11,", 7) + "11"}),
    named_rows::RowName<ValueCase>);

TEST(HiveTextTest, KeysAndValuesKeepTheirOrderOfCreation) {
  Hive hive;
  for (const char* key : {"HKEY_CURRENT_USER\\B", "HKEY_CURRENT_USER\\A"}) {
    for (const char* name : {"z", "y", "x"}) {
      ApplyChange(hive, HiveChange{key, HiveValue{name, reg::kSz, "1\0"s}});
    }
  }
  EXPECT_EQ(SerializeHive(hive),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\B]\n\"z\"=\"1\"\n\"y\"=\"1\"\n\"x\"=\"1\"\n"
            "\n[HKEY_CURRENT_USER\\A]\n\"z\"=\"1\"\n\"y\"=\"1\"\n\"x\"=\"1\"\n");
}

TEST(HiveTextTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  Hive hive;
  ApplyChange(hive, HiveChange{"HKEY_CURRENT_USER\\Software", HiveValue{"Rain", reg::kSz, "a"}});
  EXPECT_TRUE(ApplyChange(
      hive, HiveChange{"hkey_current_user\\SOFTWARE", HiveValue{"RAIN", reg::kDword, "bbbb"}}));
  EXPECT_FALSE(ApplyChange(hive, HiveChange{"HKEY_current_user\\software", std::nullopt}));
  EXPECT_EQ(hive,
            (Hive{{HiveKey{"HKEY_CURRENT_USER\\Software", {{"Rain", reg::kDword, "bbbb"}}}}}));
}

TEST(HiveTextTest, RemovingAValueKeepsItsKeyAndNeighbours) {
  Hive hive;
  for (const char* name : {"LastLocation", "ApiKey", "Other"})
    ApplyChange(hive, HiveChange{"HKEY_CURRENT_USER\\App", HiveValue{name, reg::kSz, "1\0"s}});
  EXPECT_TRUE(ApplyChange(
      hive, HiveChange{"hkey_current_user\\app", HiveValue{"APIKEY", reg::kNone, ""}, true}));
  EXPECT_FALSE(ApplyChange(
      hive, HiveChange{"HKEY_CURRENT_USER\\App", HiveValue{"ApiKey", reg::kNone, ""}, true}));
  EXPECT_EQ(SerializeHive(hive),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\App]\n\"LastLocation\"=\"1\"\n\"Other\"=\"1\"\n");
}

struct ReadCase {
  const char* name;
  std::string text;
  std::optional<Hive> expected;
};

class HiveReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(HiveReadTest, ReadsOrRefuses) { EXPECT_EQ(ParseHive(GetParam().text), GetParam().expected); }

const Hive kOneValue{{HiveKey{"HKEY_CURRENT_USER\\K", {{"v", reg::kBinary, "\x01\xab"s}}}}};

INSTANTIATE_TEST_SUITE_P(
    Texts, HiveReadTest,
    ::testing::Values(
        ReadCase{"JustTheHeader", "REGEDIT4\n", Hive{}},
        ReadCase{"WindowsLineEnds", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=hex:01,ab\r\n",
                 kOneValue},
        ReadCase{"CommentsBlanksAndUpperCaseHex",
                 "REGEDIT4\n; note\n\n  [HKEY_CURRENT_USER\\K]  \n\"v\" = hex(3): 01 , AB\n",
                 kOneValue},
        ReadCase{"ContinuedHexLine", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,\\\n  ab\n",
                 kOneValue},
        ReadCase{"RepeatedKeyMerges",
                 "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"old\"\n[hkey_current_user\\k]\n"
                 "\"V\"=hex:01,ab\n",
                 kOneValue},
        ReadCase{"ShortDwordDigits", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=dword:1\n",
                 Hive{{HiveKey{"HKEY_CURRENT_USER\\K", {{"v", reg::kDword, "\x01\0\0\0"s}}}}}},
        ReadCase{"Empty", "", std::nullopt},
        ReadCase{"OtherHeader", "Windows Registry Editor Version 5.00\n", std::nullopt},
        ReadCase{"ValueOutsideAKey", "REGEDIT4\n\"v\"=\"x\"\n", std::nullopt},
        ReadCase{"UnclosedKey", "REGEDIT4\n[HKEY_CURRENT_USER\\K\n", std::nullopt},
        ReadCase{"EmptyPathPart", "REGEDIT4\n[HKEY_CURRENT_USER\\\\K]\n", std::nullopt},
        ReadCase{"KeyDeletion", "REGEDIT4\n[-HKEY_CURRENT_USER\\K]\n", std::nullopt},
        ReadCase{"ValueDeletion", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=-\n", std::nullopt},
        ReadCase{"UnclosedText", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"abc\n", std::nullopt},
        ReadCase{"TextThenMore", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"a\"b\n", std::nullopt},
        ReadCase{"UnknownEscape", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"a\\n\"\n",
                 std::nullopt},
        ReadCase{"DwordTooLong", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=dword:123456789\n",
                 std::nullopt},
        ReadCase{"OddHexByte", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:1,ab\n", std::nullopt},
        ReadCase{"TrailingComma", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,\n",
                 std::nullopt},
        ReadCase{"TruncatedLine", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=dwo", std::nullopt}),
    named_rows::RowName<ReadCase>);

}  // namespace
