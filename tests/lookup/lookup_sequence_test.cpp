// The look-up command end to end against canned replies and a recording view.
#include "lookup/lookup_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "lookup/tag_value.h"
#include "tests/support/canned_replies.h"
#include "tests/support/fake_http.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;

constexpr const char* kKey = "SequenceKey";

const std::vector<std::string> kFoundReply = FoundGeocodeReply();
const std::vector<std::string> kElevationReply =
    ElevationReply("  <elevation>1608.6379395</elevation>");

// Records what the sequence does to its view, in order.
class RecordingView : public LookupView {
 public:
  std::string location;
  bool saveTicked = false;
  std::map<LookupField, std::string> fields;
  std::vector<std::string> events;
  std::vector<std::string> messages;
  std::vector<std::string> storedLocations;

  void SavePreferences() override { events.push_back("save"); }
  void SetFieldText(LookupField field, const std::string& text) override {
    fields[field] = text;
    events.push_back("set " + std::to_string(int(field)) + " " + text);
  }
  void RepaintField(LookupField field) override {
    events.push_back("paint " + std::to_string(int(field)));
  }
  std::string GetLocationText() override { return location; }
  bool IsSaveLocationTicked() override { return saveTicked; }
  void WriteLastLocation(const std::string& text) override { storedLocations.push_back(text); }
  void ShowElevation() override { events.push_back("elevation"); }
  void MoveFocusToForecast() override { events.push_back("focus"); }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }

  bool Did(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
};

class LookupSequenceTest : public ::testing::Test {
 protected:
  LookupOutcome Run() { return RunLookup(view, http, kKey, {latitude, longitude, elevation}); }

  FakeHttpTextSource http;
  RecordingView view;
  std::string latitude = "stale", longitude = "stale", elevation = "stale";
};

TEST_F(LookupSequenceTest, FoundPlaceFillsEveryFieldOverOneSession) {
  http.Serve(kGeocodePrefix, {.lines = kFoundReply});
  http.Serve(kElevationPrefix, {.lines = kElevationReply});
  view.location = "Pine Hollow";

  EXPECT_EQ(Run(), LookupOutcome::Found);

  const std::vector<std::string> opening = {"save",    "set 0 ",  "set 1 ",  "set 2 ",  "set 3 ",
                                            "set 4 ",  "set 5 ",  "paint 0", "paint 1", "paint 2",
                                            "paint 3", "paint 4", "paint 5"};
  EXPECT_EQ(std::vector<std::string>(view.events.begin(), view.events.begin() + 13), opening);
  EXPECT_EQ(view.fields[LookupField::Address], "Pine Hollow, CA 95321, USA");
  EXPECT_EQ(view.fields[LookupField::Latitude], "37.9495135");
  EXPECT_EQ(view.fields[LookupField::Longitude], "-120.7950794");
  EXPECT_EQ(view.fields[LookupField::LatitudeDms], "37:56:58.2486");
  EXPECT_EQ(view.fields[LookupField::LongitudeDms], "-120:47:42.2858");
  EXPECT_EQ(elevation, "1608.6379395");
  EXPECT_EQ(view.events.end()[-2], "elevation");
  EXPECT_EQ(view.events.back(), "focus");

  ASSERT_EQ(http.urls().size(), 2u);
  EXPECT_NE(http.urls()[0].find("address=37.9495135,-120.7950794&"), std::string::npos);
  EXPECT_NE(http.urls()[1].find("locations=37.9495135,-120.7950794&"), std::string::npos);
  for (const auto& url : http.urls()) EXPECT_TRUE(url.ends_with("&key=SequenceKey")) << url;
  EXPECT_EQ(http.agents(), std::vector<std::string>{"Google API"});
  EXPECT_EQ(http.sessionsClosed(), 1);
  for (const auto& reply : http.replies()) EXPECT_TRUE(reply->closed);
}

TEST_F(LookupSequenceTest, LastLocationIsStoredAsTypedOnlyWhenTicked) {
  http.Serve(kGeocodePrefix, {.lines = kFoundReply});
  http.Serve(kElevationPrefix, {.lines = kElevationReply});
  view.location = "KRGC";
  view.saveTicked = true;
  Run();
  view.saveTicked = false;
  Run();
  EXPECT_EQ(view.storedLocations, (std::vector<std::string>{"KRGC", ""}));
  EXPECT_NE(http.urls()[0].find("address=38.52910,-121.69418&"), std::string::npos);
}

TEST_F(LookupSequenceTest, NotFoundEmptiesDmsOfThePreviousPlaceAndKeepsTheFocus) {
  view.fields[LookupField::LatitudeDms] = "1:00:00.0000";
  view.fields[LookupField::LongitudeDms] = "2:00:00.0000";
  http.Serve(kGeocodePrefix, {.lines = {"<GeocodeResponse>", " <status>ZERO_RESULTS</status>",
                                        "</GeocodeResponse>"}});
  EXPECT_EQ(Run(), LookupOutcome::NotFound);
  EXPECT_EQ(view.fields[LookupField::Latitude], "Not found");
  EXPECT_EQ(view.fields[LookupField::Address], "");
  EXPECT_EQ(view.fields[LookupField::LatitudeDms], "");
  EXPECT_EQ(view.fields[LookupField::LongitudeDms], "");
  EXPECT_EQ(latitude, "");
  EXPECT_FALSE(view.Did("focus"));
  EXPECT_EQ(http.urls().size(), 1u);
  EXPECT_EQ(http.sessionsClosed(), 1);
}

const std::string kReversePrefix = std::string(kGeocodePrefix) + "latlng=";
const std::string kAddressPrefix = std::string(kGeocodePrefix) + "address=";

std::vector<std::string> StatusOnly(const std::string& status) {
  return {"<GeocodeResponse>", " <status>" + status + "</status>", "</GeocodeResponse>"};
}

struct ReverseCase {
  const char* name;
  const char* typed;
  const char* firstStatus;
  const char* latlng;  // the second request's pair; empty when none may be made
};

class ReverseGeocodeTest : public LookupSequenceTest,
                           public ::testing::WithParamInterface<ReverseCase> {};

// A coordinate pair the geocoder refuses as an address is asked once more as
// latlng= on the same session; nothing else is.
TEST_P(ReverseGeocodeTest, RefusedCoordinatesAreAskedOnceMoreInReverse) {
  const ReverseCase& c = GetParam();
  http.Serve(kReversePrefix, {.lines = kFoundReply});
  http.Serve(kAddressPrefix, {.lines = StatusOnly(c.firstStatus)});
  http.Serve(kElevationPrefix, {.lines = kElevationReply});
  view.location = c.typed;

  const bool asked = *c.latlng != '\0';
  EXPECT_EQ(Run(), asked ? LookupOutcome::Found : LookupOutcome::NotFound);
  ASSERT_EQ(http.urls().size(), asked ? 3u : 1u);
  EXPECT_TRUE(http.urls()[0].starts_with(kAddressPrefix));
  if (asked) {
    EXPECT_TRUE(http.urls()[1].starts_with(kReversePrefix + c.latlng + "&sensor=false&key="))
        << http.urls()[1];
    EXPECT_EQ(view.fields[LookupField::Address], "Pine Hollow, CA 95321, USA");
    EXPECT_EQ(view.fields[LookupField::Latitude], "37.9495135");
    EXPECT_EQ(elevation, "1608.6379395");
  } else {
    EXPECT_EQ(view.fields[LookupField::Latitude], "Not found");
  }
  EXPECT_EQ(http.sessionsOpened(), 1);
  EXPECT_EQ(http.sessionsClosed(), 1);
  for (const auto& reply : http.replies()) EXPECT_TRUE(reply->closed);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, ReverseGeocodeTest,
    ::testing::Values(
        ReverseCase{"ShortcutZeroResults", "KRGC", "ZERO_RESULTS", "38.52910,-121.69418"},
        ReverseCase{"TypedPairInvalidRequest", " 37.9 , -120.8", "INVALID_REQUEST", "37.9,-120.8"},
        ReverseCase{"PlaceNameZeroResults", "Nowhere Creek", "ZERO_RESULTS", ""},
        ReverseCase{"PlaceNameInvalidRequest", "Nowhere Creek", "INVALID_REQUEST", ""},
        ReverseCase{"PairDenied", "KRGC", "REQUEST_DENIED", ""},
        ReverseCase{"PairOutOfRange", "91,10", "ZERO_RESULTS", ""}),
    named_rows::RowName<ReverseCase>);

TEST_F(LookupSequenceTest, ReverseRefusalIsShownAsTheSecondReplySaysIt) {
  http.Serve(kReversePrefix, {.lines = StatusOnly("OVER_QUERY_LIMIT")});
  http.Serve(kAddressPrefix, {.lines = StatusOnly("INVALID_REQUEST")});
  view.location = "TALON";
  EXPECT_EQ(Run(), LookupOutcome::NotFound);
  EXPECT_EQ(view.fields[LookupField::Latitude], "Not found");
  EXPECT_EQ(view.fields[LookupField::Address], "OVER_QUERY_LIMIT");
  EXPECT_EQ(http.urls().size(), 2u);
  EXPECT_EQ(http.sessionsClosed(), 1);
}

struct RefusalCase {
  const char* name;
  std::vector<std::string> reply;
  const char* address;
};

class RefusedRequestTest : public LookupSequenceTest,
                           public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedRequestTest, StatusOtherThanOkOrZeroResultsIsShownAsTheAddress) {
  http.Serve(kGeocodePrefix, {.lines = GetParam().reply});
  EXPECT_EQ(Run(), LookupOutcome::NotFound);
  EXPECT_EQ(view.fields[LookupField::Latitude], "Not found");
  EXPECT_EQ(view.fields[LookupField::Address], GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RefusedRequestTest,
    ::testing::Values(
        RefusalCase{"DeniedWithMessage",
                    {"<GeocodeResponse>", " <status>REQUEST_DENIED</status>",
                     " <error_message>The provided API key is invalid.</error_message>",
                     "</GeocodeResponse>"},
                    "REQUEST_DENIED: The provided API key is invalid."},
        RefusalCase{
            "QuotaWithoutMessage", {" <status>OVER_QUERY_LIMIT</status>"}, "OVER_QUERY_LIMIT"},
        RefusalCase{"ZeroResults", {" <status>ZERO_RESULTS</status>"}, ""},
        RefusalCase{"NoStatusAtAll", {"<html>busy</html>"}, ""}),
    named_rows::RowName<RefusalCase>);

TEST_F(LookupSequenceTest, NoReplyReadsAsNotFound) {
  http.Serve(kGeocodePrefix, {.noReply = true});
  EXPECT_EQ(Run(), LookupOutcome::NotFound);
  EXPECT_EQ(view.fields[LookupField::Latitude], "Not found");
}

struct FailureCase {
  const char* name;
  bool sessionFails;
  CannedReply geocode;
  CannedReply elevation;
  const char* latitudeShown;
};

class NetworkFailureTest : public LookupSequenceTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(NetworkFailureTest, ShowsTheNumberKeepsWhatWasShownAndClosesEverything) {
  const FailureCase& c = GetParam();
  if (c.sessionFails) http.FailSessions(12029);
  http.Serve(kGeocodePrefix, c.geocode);
  http.Serve(kElevationPrefix, c.elevation);

  EXPECT_EQ(Run(), LookupOutcome::NetworkFailure);
  EXPECT_EQ(view.messages, std::vector<std::string>{"Error number 12029"});
  EXPECT_EQ(view.fields[LookupField::Latitude], c.latitudeShown);
  EXPECT_EQ(view.fields[LookupField::Elevation], "");
  EXPECT_FALSE(view.Did("focus"));
  EXPECT_EQ(http.sessionsClosed(), http.sessionsOpened());
  for (const auto& reply : http.replies()) EXPECT_TRUE(reply->closed);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, NetworkFailureTest,
    ::testing::Values(
        FailureCase{"NoConnection", true, {.lines = kFoundReply}, {.lines = kElevationReply}, ""},
        FailureCase{"GeocodeOpen", false, {.openError = 12029}, {.lines = kElevationReply}, ""},
        FailureCase{"GeocodeRead",
                    false,
                    {.lines = kFoundReply, .readError = 12029, .failAfterLines = 3},
                    {.lines = kElevationReply},
                    ""},
        FailureCase{
            "ElevationOpen", false, {.lines = kFoundReply}, {.openError = 12029}, "37.9495135"},
        FailureCase{"ElevationRead",
                    false,
                    {.lines = kFoundReply},
                    {.lines = kElevationReply, .readError = 12029, .failAfterLines = 1},
                    "37.9495135"}),
    named_rows::RowName<FailureCase>);

TEST_F(LookupSequenceTest, ElevationReplyWithoutValueStillMovesTheFocus) {
  http.Serve(kGeocodePrefix, {.lines = kFoundReply});
  http.Serve(kElevationPrefix,
             {.lines = {"<ElevationResponse>", " <status>INVALID_REQUEST</status>"}});
  EXPECT_EQ(Run(), LookupOutcome::Found);
  EXPECT_EQ(elevation, "");
  EXPECT_FALSE(view.Did("elevation"));
  EXPECT_EQ(view.events.back(), "focus");
}

TEST_F(LookupSequenceTest, RefusedElevationLineLeavesTheCommandWithCoordinatesShown) {
  http.Serve(kGeocodePrefix, {.lines = kFoundReply});
  http.Serve(kElevationPrefix, {.lines = {"  <elevation>1.5"}});
  EXPECT_THROW(Run(), InvalidArgumentError);
  EXPECT_EQ(view.fields[LookupField::Latitude], "37.9495135");
  EXPECT_EQ(elevation, "");
  EXPECT_FALSE(view.Did("elevation"));
  EXPECT_FALSE(view.Did("focus"));
  EXPECT_EQ(http.sessionsClosed(), 1);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(LookupSequenceTest, RefusedLatitudeLineKeepsTheUncutTextInTheHeldLatitude) {
  http.Serve(kGeocodePrefix, {.lines = {"<location>", "<lat>12"}});
  EXPECT_THROW(Run(), InvalidArgumentError);
  EXPECT_EQ(latitude, "12");
  EXPECT_EQ(view.fields[LookupField::Latitude], "");
}

}  // namespace
