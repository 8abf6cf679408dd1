// Degrees:minutes:seconds text of decimal angles.
#include "lookup/coordinate_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;
using named_rows::RowName;

struct DmsRow {
  const char* name;
  double degrees;
  const char* text;
};

class FormatDegreesDmsTest : public testing::TestWithParam<DmsRow> {};

TEST_P(FormatDegreesDmsTest, Text) {
  EXPECT_EQ(FormatDegreesDms(GetParam().degrees), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, FormatDegreesDmsTest,
    testing::Values(DmsRow{"zero", 0, "0:00:00.0000"}, DmsRow{"minus_half", -0.5, "-0:30:00.0000"},
                    DmsRow{"small_seconds_padded", 0.0001, "0:00:00.3600"},
                    DmsRow{"quarter", 10.25, "10:15:00.0000"},
                    DmsRow{"east_edge", 180, "180:00:00.0000"},
                    DmsRow{"west_edge", -180, "-180:00:00.0000"},
                    DmsRow{"ridge_club_latitude", 38.52910, "38:31:44.7600"},
                    DmsRow{"ridge_club_longitude", -121.69418, "-121:41:39.0480"},
                    DmsRow{"pine_hollow_latitude", 37.9495135, "37:56:58.2486"},
                    DmsRow{"pine_hollow_longitude", -120.7950794, "-120:47:42.2858"},
                    DmsRow{"new_york_latitude", 40.7128, "40:42:46.0800"},
                    DmsRow{"new_york_longitude", -74.006, "-74:00:21.6000"},
                    DmsRow{"tiny_negative_keeps_sign", -0.0000001, "-0:00:00.0004"},
                    DmsRow{"below_printed_seconds", 0.00000001, "0:00:00.0000"},
                    DmsRow{"negative_zero_unsigned", -0.0, "0:00:00.0000"},
                    // Seconds that round to 60.0000 carry into minutes, and on into degrees.
                    DmsRow{"carry_into_minutes", 1.2, "1:12:00.0000"},
                    DmsRow{"carry_into_minutes_2", 38.55, "38:33:00.0000"},
                    DmsRow{"carry_into_degrees", 59.99999999, "60:00:00.0000"},
                    DmsRow{"carry_into_degrees_negative", -0.99999999, "-1:00:00.0000"},
                    DmsRow{"carry_to_180", 179.999999999, "180:00:00.0000"}),
    RowName<DmsRow>);

// Over a sweep of the whole range the fields stay in range and the text reads
// back as the angle to within the printed precision.
TEST(FormatDegreesDmsSweep, FieldsInRangeAndTextReadsBack) {
  for (double degrees = -180.0; degrees <= 180.0; degrees += 0.0012345) {
    const std::string text = FormatDegreesDms(degrees);
    int d = 0, m = 0;
    double s = 0;
    const bool negative = text[0] == '-';
    ASSERT_EQ(std::sscanf(text.c_str() + negative, "%d:%d:%lf", &d, &m, &s), 3) << text;
    ASSERT_LT(m, 60) << text;
    ASSERT_LT(s, 60.0) << text;
    const double back = d + m / 60.0 + s / 3600.0;
    ASSERT_NEAR(back, std::fabs(degrees), 0.00005 / 3600 + 1e-12) << text;
    ASSERT_EQ(negative, degrees < 0) << text;
  }
}

}  // namespace
