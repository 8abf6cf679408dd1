// The built-in shortcuts, the two request addresses and the key they carry.
#include <gtest/gtest.h>

#include <string>

#include "lookup/elevation.h"
#include "lookup/geocoding.h"
#include "lookup/service_key.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;
using named_rows::RowName;

struct ShortcutRow {
  const char* name;
  const char* typed;
  const char* sent;
};

class ShortcutTest : public testing::TestWithParam<ShortcutRow> {};

TEST_P(ShortcutTest, Replacement) {
  EXPECT_EQ(ApplyLocationShortcut(GetParam().typed), GetParam().sent);
}

constexpr const char* kRidge = "38.52910,-121.69418";
constexpr const char* kPine = "37.9495135,-120.7950794";

INSTANTIATE_TEST_SUITE_P(
    Table, ShortcutTest,
    testing::Values(ShortcutRow{"code", "KRGC", kRidge}, ShortcutRow{"code_small", "krgc", kRidge},
                    ShortcutRow{"club_name", "Kestrel Ridge Gliding Club", kRidge},
                    ShortcutRow{"code_trailing_blank", "KRGC ", "KRGC "},
                    ShortcutRow{"code_mixed_case", "Krgc", "Krgc"},
                    ShortcutRow{"club_name_small", "kestrel ridge gliding club",
                                "kestrel ridge gliding club"},
                    ShortcutRow{"hollow", "Pine Hollow", kPine},
                    ShortcutRow{"hollow_capitals", "PINE HOLLOW", kPine},
                    ShortcutRow{"hollow_small", "pine hollow", kPine},
                    ShortcutRow{"hollow_mixed", "pINE hOLLOW", kPine},
                    ShortcutRow{"hollow_trailing_blank", "Pine Hollow ", "Pine Hollow "},
                    ShortcutRow{"hollow_inside_longer_text", "Pine Hollow, CA", "Pine Hollow, CA"},
                    ShortcutRow{"talon", "TALON", kPine},
                    ShortcutRow{"talon_small", "talon", "talon"}, ShortcutRow{"empty", "", ""},
                    ShortcutRow{"other_place", "Sacramento", "Sacramento"}),
    RowName<ShortcutRow>);

constexpr const char* kTestKey = "TestKey0123456789abcdefghijklmnopqrstuv";

struct GeocodeUrlRow {
  const char* name;
  std::string location;
  const char* address;  // the address value as it must appear in the query
};

class GeocodeUrlTest : public testing::TestWithParam<GeocodeUrlRow> {};

TEST_P(GeocodeUrlTest, AddressValueIsPercentEncoded) {
  EXPECT_EQ(BuildGeocodeUrl(GetParam().location, kTestKey),
            std::string("https://maps.googleapis.com/maps/api/geocode/xml?address=") +
                GetParam().address + "&sensor=false&key=" + kTestKey);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, GeocodeUrlTest,
    testing::Values(GeocodeUrlRow{"coordinates_unchanged", kRidge, "38.52910,-121.69418"},
                    GeocodeUrlRow{"empty", "", ""},
                    GeocodeUrlRow{"kept_punctuation", "a-b.c_d~e,f", "a-b.c_d~e,f"},
                    GeocodeUrlRow{"number_sign_and_blanks", "12 Main St #5",
                                  "12%20Main%20St%20%235"},
                    GeocodeUrlRow{"query_delimiters", "A&B=C+D;E", "A%26B%3DC%2BD%3BE"},
                    GeocodeUrlRow{"percent_slash_question", "100%/?", "100%25%2F%3F"},
                    GeocodeUrlRow{"quotes", "\"O'Hare\"", "%22O%27Hare%22"},
                    GeocodeUrlRow{"utf8_bytes", "Z\xC3\xBCrich", "Z%C3%BCrich"},
                    GeocodeUrlRow{"control_and_nul", std::string("a\tb\0c", 5), "a%09b%00c"},
                    GeocodeUrlRow{"placeholder_not_rescanned", "XXX", "XXX"}),
    RowName<GeocodeUrlRow>);

struct PairRow {
  const char* name;
  const char* location;
  const char* pair;  // empty: not a coordinate pair
};

class CoordinatePairTest : public testing::TestWithParam<PairRow> {};

TEST_P(CoordinatePairTest, TwoDecimalNumbersInRange) {
  EXPECT_EQ(CoordinatePair(GetParam().location), GetParam().pair);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, CoordinatePairTest,
    testing::Values(
        PairRow{"shortcut", kRidge, kRidge},
        PairRow{"blanks_around_each", " 38.5 ,\t-121.7 ", "38.5,-121.7"},
        PairRow{"integers_and_signs", "+45,-0", "+45,-0"}, PairRow{"point_forms", "5.,.5", "5.,.5"},
        PairRow{"edges_of_range", "-90,180", "-90,180"},
        PairRow{"latitude_over_90", "90.0001,0", ""}, PairRow{"longitude_over_180", "0,-180.5", ""},
        PairRow{"three_numbers", "1,2,3", ""}, PairRow{"one_number", "38.5", ""},
        PairRow{"empty_half", "38.5,", ""}, PairRow{"lone_point", ".,1", ""},
        PairRow{"exponent", "1e1,2", ""}, PairRow{"hex", "0x1,2", ""},
        PairRow{"decimal_comma_pair", "38,5", "38,5"}, PairRow{"blank_inside_number", "3 8,5", ""},
        PairRow{"text_after", "38.5,-121.7 USA", ""}, PairRow{"place_name", "Pine Hollow, CA", ""},
        PairRow{"empty", "", ""}),
    RowName<PairRow>);

TEST(ReverseGeocodeUrlTest, PairGoesInAsLatlngWithTheSameKey) {
  EXPECT_EQ(BuildReverseGeocodeUrl("38.52910,-121.69418", kTestKey),
            std::string("https://maps.googleapis.com/maps/api/geocode/xml?"
                        "latlng=38.52910,-121.69418&sensor=false&key=") +
                kTestKey);
  EXPECT_NE(BuildReverseGeocodeUrl("+1,2", kTestKey).find("latlng=%2B1,2&"), std::string::npos);
}

TEST(ElevationUrlTest, CoordinatesGoInAsTheGeocoderWroteThem) {
  EXPECT_EQ(BuildElevationUrl("38.52910", "-121.69418", kTestKey),
            std::string("https://maps.googleapis.com/maps/api/elevation/xml?"
                        "locations=38.52910,-121.69418&sensor=false&key=") +
                kTestKey);
}

TEST(ElevationUrlTest, OddCoordinateTextCannotCutTheQuery) {
  const std::string url = BuildElevationUrl("1&YYY", "2#", kTestKey);
  EXPECT_NE(url.find("locations=1%26YYY,2%23&sensor=false&key="), std::string::npos) << url;
}

TEST(ApiKeyTest, CompiledKeyHasTheShapeOfAKey) {
  const std::string compiled = CompiledApiKey();
  EXPECT_EQ(compiled.size(), 39u);
  EXPECT_EQ(compiled.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                       "0123456789-_"),
            std::string::npos)
      << compiled;
}

TEST(ApiKeyTest, KeyIsEncodedInBothRequests) {
  EXPECT_TRUE(BuildGeocodeUrl("x", "k&y#1").ends_with("&key=k%26y%231"));
  EXPECT_TRUE(BuildElevationUrl("1", "2", "k&y#1").ends_with("&key=k%26y%231"));
  EXPECT_TRUE(BuildReverseGeocodeUrl("1,2", "k&y#1").ends_with("&key=k%26y%231"));
}

}  // namespace
