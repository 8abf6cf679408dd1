// The settings operations against an in-memory store: what they read, what
// they write and in which order.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/in_memory_profile_store.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;

using Changes = std::vector<HiveChange>;

constexpr const char* kAppKey = "HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar";
constexpr const char* kPrefsKey =
    "HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar\\Preferences";

// The dialog's own copy of the flags, as its data exchange leaves them.
struct DialogFlags {
  BOOL m_bDewPoint = 1, m_bPrecipitationPotential = 1, m_bRelativeHumidity = 1, m_bSkyCover = 1,
       m_bSurfaceWinds = 1, m_bTemperature = 1, m_bWindChill = 1, m_bRain = 1, m_bThunder = 1,
       m_bSnow = 1, m_bFreezingRain = 1, m_bSleet = 1;
};

DialogFlags HeldFlags() {
  DialogFlags flags;
  for (const WeatherSeries& row : kWeatherSeries)
    FlagOf(flags, row.id) = FlagOf(thePreferences, row.id);
  return flags;
}

std::string Dword(std::uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

HiveChange FlagWrite(const char* name, std::uint32_t value) {
  return {kPrefsKey, HiveValue{name, reg::kDword, Dword(value)}};
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { thePreferences = CPreferences(); }

  // Registry set-up and the two reads of start-up.
  void StartUp() {
    SetUpRegistry(store_, app_);
    LoadPreferences(store_);
    ReadLastLocation(store_, app_);
  }

  void Store(const char* key, HiveValue value) {
    ApplyChange(store_.hive(), HiveChange{key, std::move(value)});
  }

  std::vector<HiveChange> Written() const {
    std::vector<HiveChange> changes;
    for (const auto& write : store_.writes()) changes.push_back(write.change);
    return changes;
  }

  InMemoryProfileStore store_;
  AppSettingsState app_;
};

TEST_F(SettingsStoreTest, FirstStartCreatesBothKeysAndNothingElse) {
  StartUp();
  EXPECT_EQ(app_.m_strRegistryPath, "Software\\Quenwick Software\\Orlimar");
  for (const WeatherSeries& row : kWeatherSeries)
    EXPECT_EQ(FlagOf(thePreferences, row.id), 1) << row.valueName;
  EXPECT_STREQ(app_.m_szLastLocation, "");
  EXPECT_EQ(Written(),
            (Changes{HiveChange{kAppKey, std::nullopt}, HiveChange{kPrefsKey, std::nullopt}}));
}

TEST_F(SettingsStoreTest, ProfileNameChoosesTheKey) {
  InMemoryProfileStore copy("Orlimar2");
  SetUpRegistry(copy, app_);
  EXPECT_EQ(app_.m_strRegistryPath, "Software\\Quenwick Software\\Orlimar2");
}

TEST_F(SettingsStoreTest, UnwritableRegistryGivesDefaults) {
  store_.FailWrites(true);
  Store(kAppKey, HiveValue{kLastLocationValue, reg::kSz, std::string("Kept\0", 5)});
  SetUpRegistry(store_, app_);
  LoadPreferences(store_);
  EXPECT_EQ(thePreferences.m_bSleet, 1);
  // The key exists, so the last location is still read.
  ReadLastLocation(store_, app_);
  EXPECT_STREQ(app_.m_szLastLocation, "Kept");
}

TEST_F(SettingsStoreTest, StoredZeroUntickedAndTickingWritesOnlyThatFlag) {
  Store(kPrefsKey, HiveValue{"Rain", reg::kDword, Dword(0)});
  StartUp();
  EXPECT_EQ(thePreferences.m_bRain, 0);
  store_.ClearWrites();
  DialogFlags dialog = HeldFlags();
  dialog.m_bRain = 1;
  SaveChangedPreferences(store_, dialog);
  EXPECT_EQ(Written(), Changes{FlagWrite("Rain", 1)});
  EXPECT_EQ(thePreferences.m_bRain, 1);
}

TEST_F(SettingsStoreTest, OneUntickedBoxOnFirstRunCreatesOnlyItsValue) {
  StartUp();
  DialogFlags dialog;
  dialog.m_bSleet = 0;
  SaveChangedPreferences(store_, dialog);
  const HiveKey* prefs = FindKey(store_.hive(), kPrefsKey);
  ASSERT_NE(prefs, nullptr);
  EXPECT_EQ(prefs->values, (std::vector<HiveValue>{HiveValue{"Sleet", reg::kDword, Dword(0)}}));
}

TEST_F(SettingsStoreTest, UnchangedFlagsWriteNothing) {
  StartUp();
  store_.ClearWrites();
  SaveChangedPreferences(store_, HeldFlags());
  EXPECT_EQ(Written(), Changes{});
}

TEST_F(SettingsStoreTest, ChangedFlagsAreWrittenInTableOrder) {
  StartUp();
  store_.ClearWrites();
  DialogFlags dialog;
  for (const WeatherSeries& row : kWeatherSeries) FlagOf(dialog, row.id) = 0;
  SaveChangedPreferences(store_, dialog);
  std::vector<HiveChange> expected;
  for (const WeatherSeries& row : kWeatherSeries) expected.push_back(FlagWrite(row.valueName, 0));
  EXPECT_EQ(Written(), expected);
}

TEST_F(SettingsStoreTest, FailedWriteIsNotRetried) {
  StartUp();
  store_.ClearWrites();
  store_.FailWrites(true);
  DialogFlags dialog;
  dialog.m_bSleet = 0;
  SaveChangedPreferences(store_, dialog);
  ASSERT_EQ(store_.writes().size(), 1u);
  EXPECT_TRUE(store_.writes()[0].failed);
  EXPECT_EQ(thePreferences.m_bSleet, 0);
  store_.FailWrites(false);
  store_.ClearWrites();
  SaveChangedPreferences(store_, dialog);
  EXPECT_EQ(Written(), Changes{});
}

struct StoredFlagCase {
  const char* name;
  reg::ValueType type;
  std::string data;
  BOOL expected;
};

class StoredFlagTest : public SettingsStoreTest,
                       public ::testing::WithParamInterface<StoredFlagCase> {};

TEST_P(StoredFlagTest, LoadsAsExpected) {
  Store(kPrefsKey, HiveValue{"Snow", GetParam().type, GetParam().data});
  StartUp();
  EXPECT_EQ(thePreferences.m_bSnow, GetParam().expected);
  EXPECT_EQ(thePreferences.m_bRain, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredFlagTest,
    ::testing::Values(StoredFlagCase{"Zero", reg::kDword, Dword(0), 0},
                      StoredFlagCase{"OutOfRangeKept", reg::kDword, Dword(7), 7},
                      StoredFlagCase{"Negative", reg::kDword, Dword(0xffffffff), -1},
                      // Anything but a four-byte number falls back to the default.
                      StoredFlagCase{"Text", reg::kSz, std::string("0\0", 2), 1},
                      StoredFlagCase{"ShortNumber", reg::kDword, std::string(2, '\0'), 1},
                      StoredFlagCase{"Binary", reg::kBinary, Dword(0), 1}),
    named_rows::RowName<StoredFlagCase>);

struct StoredLocationCase {
  const char* name;
  reg::ValueType type;
  std::string data;
  std::string expected;
};

class StoredLocationTest : public SettingsStoreTest,
                           public ::testing::WithParamInterface<StoredLocationCase> {};

TEST_P(StoredLocationTest, ReadsAsExpected) {
  Store(kAppKey, HiveValue{kLastLocationValue, GetParam().type, GetParam().data});
  std::strcpy(app_.m_szLastLocation, "stale");
  StartUp();
  EXPECT_EQ(std::string(app_.m_szLastLocation), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredLocationTest,
    ::testing::Values(StoredLocationCase{"Text", reg::kSz, std::string("Pine Hollow\0", 12),
                                         "Pine Hollow"},
                      StoredLocationCase{"Longest", reg::kSz, std::string(259, 'x') + '\0',
                                         std::string(259, 'x')},
                      StoredLocationCase{"OneTooLong", reg::kSz, std::string(260, 'x') + '\0', ""},
                      StoredLocationCase{"Expandable", reg::kExpandSz,
                                         std::string("%HOME%\\x\0", 9), "%HOME%\\x"},
                      StoredLocationCase{"Dword", reg::kDword, Dword(0x41), ""},
                      StoredLocationCase{"NoNul", reg::kSz, "Pine Hollow", ""},
                      StoredLocationCase{"NoBytes", reg::kSz, "", ""},
                      StoredLocationCase{"JustNul", reg::kSz, std::string(1, '\0'), ""}),
    named_rows::RowName<StoredLocationCase>);

TEST_F(SettingsStoreTest, MissingLocationReadsEmpty) {
  std::strcpy(app_.m_szLastLocation, "stale");
  StartUp();
  EXPECT_STREQ(app_.m_szLastLocation, "");
}

TEST_F(SettingsStoreTest, WrittenLocationIsStoredWholeWithItsNul) {
  StartUp();
  for (std::size_t length : {0, 259, 260}) {
    const std::string text(length, 'y');
    WriteLastLocation(store_, app_, text);
    const HiveValue* value = FindValue(*FindKey(store_.hive(), kAppKey), kLastLocationValue);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, (HiveValue{kLastLocationValue, reg::kSz, text + '\0'}));
    AppSettingsState next;
    next.m_strRegistryPath = app_.m_strRegistryPath;
    ReadLastLocation(store_, next);
    EXPECT_EQ(std::string(next.m_szLastLocation), length < 260 ? text : "") << length;
  }
}

TEST_F(SettingsStoreTest, CommandLineRunReadsButNeverWritesTheLocation) {
  Store(kAppKey, HiveValue{kLastLocationValue, reg::kSz, std::string("Kept\0", 5)});
  StartUp();
  app_.m_bCommandLineLocation = 1;
  store_.ClearWrites();
  WriteLastLocation(store_, app_, "Elsewhere");
  EXPECT_STREQ(app_.m_szLastLocation, "Kept");
  EXPECT_EQ(Written(), Changes{});
}

struct StoredKeyCase {
  const char* name;
  reg::ValueType type;
  std::string data;
  std::string expected;
};
using named_rows::PrintTo;

class StoredApiKeyTest : public SettingsStoreTest,
                         public ::testing::WithParamInterface<StoredKeyCase> {};

TEST_P(StoredApiKeyTest, ReadsAsExpected) {
  Store(kAppKey, HiveValue{kApiKeyValue, GetParam().type, GetParam().data});
  StartUp();
  EXPECT_EQ(ReadApiKey(store_, app_), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredApiKeyTest,
    ::testing::Values(StoredKeyCase{"Text", reg::kSz, std::string("AIzaStoredKey\0", 14),
                                    "AIzaStoredKey"},
                      StoredKeyCase{"NoNul", reg::kSz, "AIzaStoredKey", "AIzaStoredKey"},
                      StoredKeyCase{"Empty", reg::kSz, std::string(1, '\0'), ""},
                      StoredKeyCase{"NoBytes", reg::kSz, "", ""},
                      StoredKeyCase{"Dword", reg::kDword, Dword(0x41), ""},
                      StoredKeyCase{"StopsAtNul", reg::kSz, std::string("abc\0def\0", 8), "abc"}),
    named_rows::RowName<StoredKeyCase>);

TEST_F(SettingsStoreTest, ApiKeyIsStoredBesideTheLocationAndRemovedByAnEmptyKey) {
  Store(kAppKey, HiveValue{kLastLocationValue, reg::kSz, std::string("Kept\0", 5)});
  StartUp();
  EXPECT_EQ(ReadApiKey(store_, app_), "");

  ASSERT_TRUE(WriteApiKey(store_, app_, "AIzaNewKey"));
  EXPECT_EQ(*FindValue(*FindKey(store_.hive(), kAppKey), kApiKeyValue),
            (HiveValue{kApiKeyValue, reg::kSz, std::string("AIzaNewKey\0", 11)}));
  EXPECT_EQ(ReadApiKey(store_, app_), "AIzaNewKey");

  ASSERT_TRUE(WriteApiKey(store_, app_, ""));
  EXPECT_EQ(FindValue(*FindKey(store_.hive(), kAppKey), kApiKeyValue), nullptr);
  EXPECT_EQ(ReadApiKey(store_, app_), "");
  // The neighbour is untouched.
  EXPECT_NE(FindValue(*FindKey(store_.hive(), kAppKey), kLastLocationValue), nullptr);

  // Removing what is not there succeeds and writes nothing.
  store_.ClearWrites();
  EXPECT_TRUE(WriteApiKey(store_, app_, ""));
  EXPECT_EQ(Written(), Changes{});
}

TEST_F(SettingsStoreTest, RefusedApiKeyWriteIsReported) {
  StartUp();
  store_.FailWrites(true);
  EXPECT_FALSE(WriteApiKey(store_, app_, "AIzaNewKey"));
  store_.FailWrites(false);
  ASSERT_TRUE(WriteApiKey(store_, app_, "AIzaNewKey"));
  store_.FailWrites(true);
  EXPECT_FALSE(WriteApiKey(store_, app_, ""));
  EXPECT_EQ(ReadApiKey(store_, app_), "AIzaNewKey");
}

}  // namespace
