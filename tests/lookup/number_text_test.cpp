// Number reading and writing: the C library's rules, untouched by the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lookup/c_number.h"
#include "lookup/elevation.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;
using named_rows::RowName;

// Same double, bit for bit; any NaN of the same sign counts as the same.
void ExpectSameDouble(double expected, double actual, const std::string& text) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << '"' << text << '"';
    EXPECT_EQ(std::signbit(expected), std::signbit(actual)) << '"' << text << '"';
    return;
  }
  EXPECT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0)
      << '"' << text << "\" want " << expected << " got " << actual;
}

struct AtofRow {
  const char* name;
  const char* text;
};

class AtofCTest : public testing::TestWithParam<AtofRow> {};

// The test process runs in the C locale, where strtod is the reference.
TEST_P(AtofCTest, ReadsAsStrtodInTheCLocale) {
  const std::string text = GetParam().text;
  ExpectSameDouble(std::strtod(text.c_str(), nullptr), AtofC(text), text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AtofCTest,
    testing::Values(
        AtofRow{"elevation", "1608.6379395"},
        AtofRow{"c_white_space_then_minus", " \t\n\v\f\r-85.8870239"}, AtofRow{"plus_sign", "+5"},
        AtofRow{"empty", ""}, AtofRow{"no_number", "abc"}, AtofRow{"blank_after_sign", "- 5"},
        AtofRow{"two_signs", "+-5"}, AtofRow{"sign_only", "-"}, AtofRow{"trailing_text", "12abc"},
        AtofRow{"decimal_comma", "1,5"}, AtofRow{"closing_tag_kept", "1608.6379395<"},
        AtofRow{"exponent", "1.5E+3"}, AtofRow{"bare_e", "1e"}, AtofRow{"e_and_sign", "1e-"},
        AtofRow{"leading_point", ".5"}, AtofRow{"trailing_point", "5."}, AtofRow{"lone_point", "."},
        AtofRow{"negative_zero", "-0"}, AtofRow{"hex", "0x1A"},
        AtofRow{"hex_fraction_exponent", "0x1.8p3"}, AtofRow{"hex_point_first", "-0x.8"},
        AtofRow{"hex_without_digits", "0x"}, AtofRow{"hex_bad_digit", "0xg"},
        AtofRow{"hex_minus_after_prefix", "0x-1"}, AtofRow{"hex_exponent_two_signs", "0x.08P+-8"},
        AtofRow{"exponent_two_signs", "1e+-3"}, AtofRow{"hex_bare_p", "0x1p"},
        AtofRow{"hex_p_sign_only", "0x1p-"}, AtofRow{"two_points", "1.2.3"}, AtofRow{"inf", "inf"},
        AtofRow{"infinity", "-Infinity"}, AtofRow{"infinit_stops", "infinit"},
        AtofRow{"nan", "nan"}, AtofRow{"nan_payload", "nan(12)"}, AtofRow{"negative_nan", "-NAN"},
        AtofRow{"overflow", "1e400"}, AtofRow{"negative_overflow", "-123456789e999"},
        AtofRow{"underflow", "1e-400"}, AtofRow{"underflow_fraction", "0.0001e-320"},
        AtofRow{"subnormal", "4e-324"}, AtofRow{"hex_underflow", "0x1p-1075"},
        AtofRow{"hex_overflow", "0x1p99999"}, AtofRow{"huge_exponent", "1e99999999999999"},
        AtofRow{"many_digits", "3.28083989501312350000000000000000000001"}),
    RowName<AtofRow>);

struct FixedRow {
  const char* name;
  double value;
  int decimals;
};

class FormatFixedTest : public testing::TestWithParam<FixedRow> {};

TEST_P(FormatFixedTest, WritesAsPrintfInTheCLocale) {
  const FixedRow& row = GetParam();
  char expected[512];
  std::snprintf(expected, sizeof expected, "%.*f", row.decimals, row.value);
  EXPECT_EQ(FormatFixed(row.value, row.decimals), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatFixedTest,
    testing::Values(FixedRow{"six", 5277.683529213, 6}, FixedRow{"negative", -281.7815743, 6},
                    FixedRow{"zero", 0.0, 6}, FixedRow{"negative_zero", -0.0, 4},
                    FixedRow{"half_even_tie", 0.125, 2}, FixedRow{"half_up", 0.375, 2},
                    FixedRow{"no_decimals", 2.5, 0}, FixedRow{"negative_precision", 1.25, -1},
                    FixedRow{"largest", 1.7976931348623157e308, 6},
                    FixedRow{"smallest", 4.9406564584124654e-324, 6}, FixedRow{"inf", INFINITY, 6},
                    FixedRow{"negative_inf", -INFINITY, 6}, FixedRow{"nan", NAN, 6}),
    RowName<FixedRow>);

struct ElevationRow {
  const char* name;
  const char* meters;
  const char* feet;
  const char* metersShown;
};

class FormatElevationTest : public testing::TestWithParam<ElevationRow> {};

TEST_P(FormatElevationTest, ShowsBothUnits) {
  const ElevationRow& row = GetParam();
  EXPECT_EQ(FormatElevation(row.meters, kFeetPerMeter), row.feet);
  EXPECT_EQ(FormatElevation(row.meters, kMetersPerMeter), row.metersShown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatElevationTest,
    testing::Values(ElevationRow{"high", "1608.6379395", "5277.683529", "1608.637939"},
                    ElevationRow{"low", "18.3456192", "60.189039", "18.345619"},
                    ElevationRow{"below_sea", "-85.8870239", "-281.781574", "-85.887024"},
                    ElevationRow{"empty", "", "0.000000", "0.000000"},
                    ElevationRow{"part_of_closing_tag", "1608.6379395<", "5277.683529",
                                 "1608.637939"}),
    RowName<ElevationRow>);

// A Qt program runs under setlocale(LC_ALL, ""); a decimal-comma locale must
// not change what is read from a reply or shown.
class DecimalCommaLocale : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr &&
          std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
    GTEST_SKIP() << "no decimal-comma locale installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(DecimalCommaLocale, NumbersKeepTheDecimalPoint) {
  ASSERT_NE(std::strtod("0.5", nullptr), 0.5) << "the locale should change strtod";
  EXPECT_EQ(AtofC("1608.6379395"), 1608.6379395);
  EXPECT_EQ(AtofC("1,5"), 1.0);
  EXPECT_EQ(FormatFixed(-0.5, 1), "-0.5");
  EXPECT_EQ(FormatElevation("1608.6379395", kFeetPerMeter), "5277.683529");
}

}  // namespace
