// The tag rule and the scans of the geocoding and elevation replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lookup/elevation.h"
#include "lookup/geocoding.h"
#include "lookup/tag_value.h"
#include "tests/support/fake_http.h"
#include "tests/support/named_rows.h"

namespace {

using Lines = std::vector<std::string>;

using named_rows::PrintTo;
using named_rows::RowName;

enum class Outcome { Found, NotFound, Throws };

// --- the tag rule ---

struct TagRow {
  const char* name;
  const char* line;
  const char* tag;
  Outcome outcome;
  const char* value;  // afterwards; "(untouched)" is the value before the call
};

class ExtractTagValueTest : public testing::TestWithParam<TagRow> {};

TEST_P(ExtractTagValueTest, Cut) {
  const TagRow& row = GetParam();
  std::string value = "(untouched)";
  switch (row.outcome) {
    case Outcome::Found:
      EXPECT_TRUE(ExtractTagValue(row.line, row.tag, value));
      break;
    case Outcome::NotFound:
      EXPECT_FALSE(ExtractTagValue(row.line, row.tag, value));
      break;
    case Outcome::Throws:
      EXPECT_THROW(ExtractTagValue(row.line, row.tag, value), InvalidArgumentError);
      break;
  }
  EXPECT_EQ(value, row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExtractTagValueTest,
    testing::Values(
        TagRow{"indentation_not_in_value", "    <lat>38.52910</lat>", "<lat>", Outcome::Found,
               "38.52910"},
        TagRow{"blanks_after_closing_tag_shift_the_cut", "    <lat>38.52910</lat>  ", "<lat>",
               Outcome::Found, "38.52910</"},
        TagRow{"empty_between_tags", "<lat></lat>", "<lat>", Outcome::Found, ""},
        TagRow{"exactly_room_for_closing_tag", "<lat>123456", "<lat>", Outcome::Found, ""},
        TagRow{"first_occurrence", "<lat>1</lat><lat>2</lat>", "<lat>", Outcome::Found,
               "1</lat><lat>2"},
        TagRow{"escaped_text_kept", "<formatted_address>A &amp; B</formatted_address>",
               "<formatted_address>", Outcome::Found, "A &amp; B"},
        TagRow{"absent", "<lng>1</lng>", "<lat>", Outcome::NotFound, "(untouched)"},
        TagRow{"case_sensitive", "<LAT>1</LAT>", "<lat>", Outcome::NotFound, "(untouched)"},
        TagRow{"nothing_after_tag", "  <lat>", "<lat>", Outcome::Throws, ""},
        TagRow{"one_short_of_closing_tag", "<lat>12345", "<lat>", Outcome::Throws, "12345"},
        TagRow{"address_one_short", "<formatted_address>0123456789012345678", "<formatted_address>",
               Outcome::Throws, "0123456789012345678"}),
    RowName<TagRow>);

TEST(InvalidArgumentErrorTest, SaysWhatTheSystemSaysAndIsNoNetworkFailure) {
  const InvalidArgumentError error;
  EXPECT_STREQ(error.what(), "The parameter is incorrect.");
  EXPECT_EQ(InvalidArgumentError::kStatus, 0x80070057u);
  const std::exception& base = error;
  EXPECT_EQ(dynamic_cast<const CInternetException*>(&base), nullptr);
}

// --- the geocoding reply ---

const Lines kTwoResults = {
    R"(<?xml version="1.0" encoding="UTF-8"?>)",
    "<GeocodeResponse>",
    " <status>OK</status>",
    " <result>",
    "  <type>locality</type>",
    "  <formatted_address>Pine Hollow, CA 95000, USA</formatted_address>",
    "  <geometry>",
    "   <location>",
    "    <lat>37.9495135</lat>",
    "    <lng>-120.7950794</lng>",  // line 10: the scan stops here
    "   </location>",
    "   <location_type>APPROXIMATE</location_type>",
    " </result>",
    " <result>",
    "  <formatted_address>Second Place, USA</formatted_address>",
    "  <geometry>",
    "   <location>",
    "    <lat>1.0</lat>",
    "    <lng>2.0</lng>",
    "   </location>",
    " </result>",
    "</GeocodeResponse>",
};

const Lines kDenied = {
    R"(<?xml version="1.0" encoding="UTF-8"?>)",
    "<GeocodeResponse>",
    " <status>REQUEST_DENIED</status>",
    " <error_message>The provided API key is invalid.</error_message>",
    "</GeocodeResponse>",
};

struct GeocodeRow {
  const char* name;
  Lines lines;
  Outcome outcome;
  const char* address;  // "(before)" where the scan wrote nothing
  const char* latitude;
  const char* longitude;
  std::size_t linesRead;
};

LookupResult Before() { return {"(before)", "(before)", "(before)", "(before)"}; }

class ScanGeocodeReplyTest : public testing::TestWithParam<GeocodeRow> {
 protected:
  struct Run {
    Outcome outcome;
    LookupResult result;
    std::size_t linesRead;
  };

  static Run Scan(GeocodeReplyStatus* status) {
    FakeHttpReply reply(GetParam().lines);
    Run run{Outcome::NotFound, Before(), 0};
    try {
      if (ScanGeocodeReply(reply, run.result, status)) run.outcome = Outcome::Found;
    } catch (const InvalidArgumentError&) {
      run.outcome = Outcome::Throws;
    }
    run.linesRead = reply.linesRead();
    EXPECT_FALSE(reply.closed()) << "closing is the caller's";
    return run;
  }
};

TEST_P(ScanGeocodeReplyTest, ResultAndStopPoint) {
  const GeocodeRow& row = GetParam();
  const Run run = Scan(nullptr);
  EXPECT_EQ(run.outcome, row.outcome);
  EXPECT_EQ(run.result.address, row.address);
  EXPECT_EQ(run.result.latitude, row.latitude);
  EXPECT_EQ(run.result.longitude, row.longitude);
  EXPECT_EQ(run.result.elevation, "(before)");
  EXPECT_EQ(run.linesRead, row.linesRead);
}

TEST_P(ScanGeocodeReplyTest, AskingForTheStatusChangesNothingElse) {
  const Run plain = Scan(nullptr);
  GeocodeReplyStatus status{"(stale)", "(stale)"};
  const Run withStatus = Scan(&status);
  EXPECT_EQ(withStatus.outcome, plain.outcome);
  EXPECT_EQ(withStatus.result.address, plain.result.address);
  EXPECT_EQ(withStatus.result.latitude, plain.result.latitude);
  EXPECT_EQ(withStatus.result.longitude, plain.result.longitude);
  EXPECT_EQ(withStatus.linesRead, plain.linesRead);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ScanGeocodeReplyTest,
    testing::Values(
        GeocodeRow{"first_of_two_results", kTwoResults, Outcome::Found,
                   "Pine Hollow, CA 95000, USA", "37.9495135", "-120.7950794", 10},
        GeocodeRow{"error_reply_read_to_end", kDenied, Outcome::NotFound, "(before)", "(before)",
                   "(before)", 5},
        GeocodeRow{"empty_reply", {}, Outcome::NotFound, "(before)", "(before)", "(before)", 0},
        GeocodeRow{"whole_reply_on_one_line",
                   {"<result><formatted_address>A</formatted_address><location><lat>1</lat>"
                    "<lng>2</lng></location></result>"},
                   Outcome::NotFound,
                   "(before)",
                   "(before)",
                   "(before)",
                   1},
        GeocodeRow{"coordinates_outside_a_block_ignored",
                   {"<lat>1</lat>", "<location_type>ROOFTOP</location_type>", "<lat>2</lat>",
                    "<lng>3</lng>"},
                   Outcome::NotFound,
                   "(before)",
                   "(before)",
                   "(before)",
                   4},
        GeocodeRow{"single_coordinate_kept",
                   {"<location>", "<lat>1</lat>", "</location>"},
                   Outcome::NotFound,
                   "(before)",
                   "1",
                   "(before)",
                   3},
        GeocodeRow{"count_is_of_lines_not_pairs",
                   {"<location>", "<lat>1</lat>", "</location>", "<location>", "<lat>2</lat>",
                    "<lng>3</lng>"},
                   Outcome::Found,
                   "(before)",
                   "2",
                   "(before)",
                   5},
        GeocodeRow{"empty_coordinates_count",
                   {"<location>", "<lat></lat>", "<lng></lng>", "<lat>9</lat>"},
                   Outcome::Found,
                   "(before)",
                   "",
                   "",
                   3},
        GeocodeRow{"block_lines_carry_nothing_else",
                   {"<location><lat>1</lat>", "<lat>2</lat>", "<lng>3</lng></location>",
                    "<lng>4</lng>", "<location>", "<lng>5</lng>"},
                   Outcome::Found,
                   "(before)",
                   "2",
                   "5",
                   6},
        GeocodeRow{"last_address_read_wins",
                   {"<formatted_address>Outside</formatted_address>", "<location>",
                    "<formatted_address>Inside</formatted_address>", "<lat>1</lat>", "<lng>2</lng>",
                    "<formatted_address>Never read</formatted_address>"},
                   Outcome::Found,
                   "Inside",
                   "1",
                   "2",
                   5},
        GeocodeRow{"lat_wins_over_lng_on_one_line",
                   {"<location>", "<lat>1</lat><lng>2</lng>", "<lng>3</lng>"},
                   Outcome::Found,
                   "(before)",
                   "1</lat><lng>2",
                   "3",
                   3},
        GeocodeRow{"short_coordinate_in_block_throws",
                   {"<location>", "<lat>12", "<lng>3</lng>"},
                   Outcome::Throws,
                   "(before)",
                   "12",
                   "(before)",
                   2},
        GeocodeRow{"short_coordinate_outside_not_looked_at",
                   {"<lat>", "<location>", "<lat>1</lat>", "<lng>2</lng>"},
                   Outcome::Found,
                   "(before)",
                   "1",
                   "2",
                   4},
        GeocodeRow{"short_address_throws_anywhere",
                   {"<formatted_address>Pine", "<location>"},
                   Outcome::Throws,
                   "Pine",
                   "(before)",
                   "(before)",
                   1}),
    RowName<GeocodeRow>);

TEST(ScanGeocodeReplyFailure, NetworkFailurePassesThroughKeepingWhatWasWritten) {
  FakeHttpReply reply(kTwoResults);
  reply.FailAfter(9, 12030);  // after the latitude line
  LookupResult result = Before();
  try {
    ScanGeocodeReply(reply, result);
    FAIL() << "no failure";
  } catch (const CInternetException& e) {
    EXPECT_EQ(e.m_dwError, 12030u);
  }
  EXPECT_EQ(result.address, "Pine Hollow, CA 95000, USA");
  EXPECT_EQ(result.latitude, "37.9495135");
  EXPECT_EQ(result.longitude, "(before)");
}

struct StatusRow {
  const char* name;
  Lines lines;
  const char* status;
  const char* errorMessage;
};

class GeocodeReplyStatusTest : public testing::TestWithParam<StatusRow> {};

TEST_P(GeocodeReplyStatusTest, PickedUpWhileScanning) {
  FakeHttpReply reply(GetParam().lines);
  LookupResult result;
  GeocodeReplyStatus status{"(stale)", "(stale)"};
  ScanGeocodeReply(reply, result, &status);
  EXPECT_EQ(status.status, GetParam().status);
  EXPECT_EQ(status.errorMessage, GetParam().errorMessage);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, GeocodeReplyStatusTest,
    testing::Values(StatusRow{"ok", kTwoResults, "OK", ""},
                    StatusRow{"denied", kDenied, "REQUEST_DENIED",
                              "The provided API key is invalid."},
                    StatusRow{"none", {"<GeocodeResponse>", "</GeocodeResponse>"}, "", ""},
                    StatusRow{"too_short_gives_nothing_and_counts_as_first",
                              {"<status>OK", "<status>LATER</status>", "<error_message>"},
                              "",
                              ""},
                    StatusRow{"first_occurrence",
                              {"<status>ZERO_RESULTS</status>", "<status>OK</status>"},
                              "ZERO_RESULTS",
                              ""}),
    RowName<StatusRow>);

// --- the elevation reply ---

struct ElevationScanRow {
  const char* name;
  Lines lines;
  Outcome outcome;
  const char* meters;
  std::size_t linesRead;
};

class ScanElevationReplyTest : public testing::TestWithParam<ElevationScanRow> {};

TEST_P(ScanElevationReplyTest, ValueAndStopPoint) {
  const ElevationScanRow& row = GetParam();
  FakeHttpReply reply(row.lines);
  std::string meters = "(before)";
  Outcome outcome = Outcome::NotFound;
  try {
    if (ScanElevationReply(reply, meters)) outcome = Outcome::Found;
  } catch (const InvalidArgumentError&) {
    outcome = Outcome::Throws;
  }
  EXPECT_EQ(outcome, row.outcome);
  EXPECT_EQ(meters, row.meters);
  EXPECT_EQ(reply.linesRead(), row.linesRead);
  EXPECT_FALSE(reply.closed());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ScanElevationReplyTest,
    testing::Values(ElevationScanRow{"indented_value",
                                     {"<ElevationResponse>", " <status>OK</status>", " <result>",
                                      "  <elevation>1608.6379395</elevation>",
                                      "  <resolution>4.7</resolution>"},
                                     Outcome::Found,
                                     "1608.6379395",
                                     4},
                    ElevationScanRow{
                        "empty_value_found", {"<elevation></elevation>"}, Outcome::Found, "", 1},
                    ElevationScanRow{"blank_after_closing_tag",
                                     {"<elevation>1608.6379395</elevation> "},
                                     Outcome::Found,
                                     "1608.6379395<",
                                     1},
                    ElevationScanRow{"first_of_two_only",
                                     {"<elevation>1</elevation>", "<elevation>2</elevation>"},
                                     Outcome::Found,
                                     "1",
                                     1},
                    ElevationScanRow{"no_elevation_line",
                                     {"<ElevationResponse>", " <status>INVALID_REQUEST</status>",
                                      "</ElevationResponse>"},
                                     Outcome::NotFound,
                                     "(before)",
                                     3},
                    ElevationScanRow{"empty_reply", {}, Outcome::NotFound, "(before)", 0},
                    ElevationScanRow{"too_short_throws_holding_the_rest",
                                     {"<elevation>12345678901", "<elevation>1</elevation>"},
                                     Outcome::Throws,
                                     "12345678901",
                                     1}),
    RowName<ElevationScanRow>);

}  // namespace
