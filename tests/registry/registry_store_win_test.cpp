// The profile store on the registry under Wine: what the settings write is
// where and how other Windows programs read it, and reads back the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/interfaces/platform_factories.h"
#include "settings/settings_store.h"

namespace {

// A profile of each test's own: CTest runs the tests side by side.
std::string Profile() {
  return std::string("OrlimarTest.") + testing::UnitTest::GetInstance()->current_test_info()->name();
}
std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }
std::wstring AppKeyPath() { return L"Software\\Quenwick Software\\" + Wide(Profile()); }
std::wstring PrefsKeyPath() { return AppKeyPath() + L"\\Preferences"; }

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A value as the registry itself holds it.
struct RawValue {
  LONG status = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

RawValue ReadRaw(const std::wstring& key, const wchar_t* name) {
  const wchar_t* path = key.c_str();
  RawValue value;
  DWORD size = 0;
  value.status =
      RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr,
                   &size);
  if (value.status != ERROR_SUCCESS) return value;
  value.bytes.resize(size);
  value.status = RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND,
                              &value.type, value.bytes.data(), &size);
  value.bytes.resize(size);
  return value;
}

void WriteRaw(const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::vector<BYTE> Utf16Bytes(const std::wstring& text) {
  const auto* begin = reinterpret_cast<const BYTE*>(text.c_str());
  return {begin, begin + (text.size() + 1) * sizeof(wchar_t)};
}

class RegistryStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey.c_str());
    store_ = MakeProfileStore(PlatformOptions{}, Profile());
    store_->SetRegistryKey(kCompanyName);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey.c_str()); }

  // The application key, opened through the store.
  reg::Key AppKey() {
    reg::Key key = 0;
    EXPECT_EQ(store_->CreateKey("Software\\Quenwick Software\\" + Profile(), key),
              reg::kSuccess);
    return key;
  }

  const std::wstring kAppKey = AppKeyPath();
  const std::wstring kPrefsKey = PrefsKeyPath();
  std::unique_ptr<ProfileStore> store_;
};

TEST_F(RegistryStoreTest, ProfileIntIsADwordInTheSectionKeyAndOutlivesTheStore) {
  EXPECT_EQ(store_->WriteProfileInt("Preferences", "Rain", 0), TRUE);
  EXPECT_EQ(store_->WriteProfileInt("Preferences", "Snow", -2), TRUE);
  const RawValue rain = ReadRaw(kPrefsKey, L"Rain");
  ASSERT_EQ(rain.status, ERROR_SUCCESS);
  EXPECT_EQ(rain.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(rain.bytes, (std::vector<BYTE>{0, 0, 0, 0}));

  auto again = MakeProfileStore(PlatformOptions{}, Profile());
  again->SetRegistryKey(kCompanyName);
  EXPECT_EQ(again->GetProfileInt("Preferences", "Rain", 1), 0);
  EXPECT_EQ(again->GetProfileInt("Preferences", "Snow", 1), -2);
}

TEST_F(RegistryStoreTest, ReadingCreatesTheKeysAndGivesTheDefaultForAnythingButAFourByteDword) {
  EXPECT_EQ(store_->GetProfileInt("Preferences", "Rain", 7), 7);
  EXPECT_TRUE(KeyExists(kPrefsKey));

  const DWORD one = 1;
  const unsigned long long wide = 0;
  WriteRaw(kPrefsKey, L"Text", REG_SZ, L"0", 2 * sizeof(wchar_t));
  WriteRaw(kPrefsKey, L"Binary", REG_BINARY, &one, sizeof one);
  WriteRaw(kPrefsKey, L"Long", REG_DWORD, &wide, sizeof wide);
  WriteRaw(kPrefsKey, L"Short", REG_DWORD, &one, 2);
  for (const char* name : {"Text", "Binary", "Long", "Short"})
    EXPECT_EQ(store_->GetProfileInt("Preferences", name, 7), 7) << name;
}

TEST(RegistryStoreBeforeSetRegistryKey, ProfileHasNoPlaceYet) {
  RegDeleteTreeW(HKEY_CURRENT_USER, AppKeyPath().c_str());
  auto store = MakeProfileStore(PlatformOptions{}, Profile());
  EXPECT_EQ(store->RegistryKey(), "");
  EXPECT_EQ(store->ProfileName(), Profile());
  EXPECT_EQ(store->GetProfileInt("Preferences", "Rain", 5), 5);
  EXPECT_EQ(store->WriteProfileInt("Preferences", "Rain", 0), FALSE);
  EXPECT_FALSE(KeyExists(AppKeyPath()));
}

TEST_F(RegistryStoreTest, TextIsUtf8InsideAndUtf16InTheRegistry) {
  const reg::Key key = AppKey();
  const std::string text("Z\xC3\xBCrich Hbf", 11);  // "Zürich Hbf" and its NUL
  ASSERT_EQ(store_->SetValueEx(key, "LastLocation", reg::kSz,
                               reinterpret_cast<const unsigned char*>(text.c_str()),
                               static_cast<std::uint32_t>(text.size() + 1)),
            reg::kSuccess);
  const RawValue raw = ReadRaw(kAppKey, L"LastLocation");
  ASSERT_EQ(raw.status, ERROR_SUCCESS);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.bytes, Utf16Bytes(L"Z\u00fcrich Hbf"));

  // The size asked for first, then too small a buffer, then the text.
  reg::ValueType type = reg::kNone;
  std::uint32_t size = 0;
  ASSERT_EQ(store_->QueryValueEx(key, "LastLocation", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kSz);
  EXPECT_EQ(size, text.size() + 1);
  unsigned char buffer[32] = {};
  std::uint32_t small = 4;
  EXPECT_EQ(store_->QueryValueEx(key, "LastLocation", nullptr, buffer, &small), reg::kMoreData);
  EXPECT_EQ(small, text.size() + 1);
  size = sizeof buffer;
  ASSERT_EQ(store_->QueryValueEx(key, "LastLocation", nullptr, buffer, &size), reg::kSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer), size), text + '\0');
  EXPECT_EQ(store_->CloseKey(key), reg::kSuccess);
}

TEST_F(RegistryStoreTest, OtherValuesAreStoredByteForByte) {
  const reg::Key key = AppKey();
  const unsigned char bytes[] = {0, 0xFF, 'a', 0, 7};
  ASSERT_EQ(store_->SetValueEx(key, "Blob", reg::kBinary, bytes, sizeof bytes), reg::kSuccess);
  EXPECT_EQ(ReadRaw(kAppKey, L"Blob").bytes, std::vector<BYTE>(bytes, bytes + sizeof bytes));
  ASSERT_EQ(store_->SetValueEx(key, "Empty", reg::kBinary, nullptr, 0), reg::kSuccess);
  std::uint32_t size = 99;
  EXPECT_EQ(store_->QueryValueEx(key, "Empty", nullptr, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(RegistryStoreTest, FailuresCarryTheRegistrysNumbers) {
  const reg::Key key = AppKey();
  unsigned char byte = 0;
  std::uint32_t size = 1;
  EXPECT_EQ(store_->QueryValueEx(key, "Missing", nullptr, nullptr, &size), reg::kFileNotFound);
  EXPECT_EQ(store_->QueryValueEx(key, "Missing", nullptr, &byte, nullptr), reg::kInvalidParameter);
  EXPECT_EQ(store_->SetValueEx(key, "Bad", reg::kBinary, nullptr, 4), reg::kInvalidParameter);
  EXPECT_EQ(store_->CloseKey(key), reg::kSuccess);
  EXPECT_EQ(store_->CloseKey(key), reg::kInvalidHandle);
  EXPECT_EQ(store_->QueryValueEx(key, "Missing", nullptr, nullptr, &size), reg::kInvalidHandle);
  EXPECT_EQ(store_->SetValueEx(key, "Bad", reg::kBinary, &byte, 1), reg::kInvalidHandle);
  EXPECT_EQ(store_->QueryValueEx(12345, "Missing", nullptr, nullptr, &size), reg::kInvalidHandle);
}

TEST_F(RegistryStoreTest, DeleteValueRemovesOnlyThatValue) {
  const reg::Key key = AppKey();
  const unsigned char byte = 1;
  ASSERT_EQ(store_->SetValueEx(key, "ApiKey", reg::kBinary, &byte, 1), reg::kSuccess);
  ASSERT_EQ(store_->SetValueEx(key, "Kept", reg::kBinary, &byte, 1), reg::kSuccess);
  EXPECT_EQ(store_->DeleteValue(key, "ApiKey"), reg::kSuccess);
  EXPECT_EQ(ReadRaw(kAppKey, L"ApiKey").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadRaw(kAppKey, L"Kept").status, ERROR_SUCCESS);
  EXPECT_EQ(store_->DeleteValue(key, "ApiKey"), reg::kFileNotFound);
  EXPECT_EQ(store_->DeleteValue(999, "Kept"), reg::kInvalidHandle);
}

// A reader (another program showing these settings) reads what is there,
// creates nothing and is refused every write.
TEST_F(RegistryStoreTest, ReaderCreatesNothingAndWritesNothing) {
  PlatformOptions readOnly;
  readOnly.readOnlySettings = true;
  auto reader = MakeProfileStore(readOnly, Profile());
  reader->SetRegistryKey(kCompanyName);
  EXPECT_EQ(reader->GetProfileInt("Preferences", "Rain", 7), 7);
  EXPECT_EQ(reader->WriteProfileInt("Preferences", "Rain", 0), FALSE);
  reg::Key key = 0;
  ASSERT_EQ(reader->CreateKey("Software\\Quenwick Software\\" + Profile(), key), reg::kSuccess);
  std::uint32_t size = 0;
  EXPECT_EQ(reader->QueryValueEx(key, "LastLocation", nullptr, nullptr, &size), reg::kFileNotFound);
  const unsigned char byte = 1;
  EXPECT_EQ(reader->SetValueEx(key, "LastLocation", reg::kBinary, &byte, 1), reg::kAccessDenied);
  EXPECT_EQ(reader->DeleteValue(key, "LastLocation"), reg::kFileNotFound);
  EXPECT_EQ(reader->CloseKey(key), reg::kSuccess);
  EXPECT_FALSE(KeyExists(kAppKey));

  ASSERT_EQ(store_->WriteProfileInt("Preferences", "Rain", 0), TRUE);
  WriteRaw(kAppKey, L"LastLocation", REG_SZ, L"Pine", 5 * sizeof(wchar_t));
  EXPECT_EQ(reader->GetProfileInt("Preferences", "Rain", 7), 0);
  ASSERT_EQ(reader->CreateKey("Software\\Quenwick Software\\" + Profile(), key), reg::kSuccess);
  EXPECT_EQ(reader->QueryValueEx(key, "LastLocation", nullptr, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(reader->SetValueEx(key, "LastLocation", reg::kBinary, &byte, 1), reg::kAccessDenied);
  EXPECT_EQ(reader->DeleteValue(key, "LastLocation"), reg::kAccessDenied);
  EXPECT_EQ(reader->WriteProfileInt("Preferences", "Rain", 1), FALSE);
  EXPECT_EQ(ReadRaw(kPrefsKey, L"Rain").bytes, (std::vector<BYTE>{0, 0, 0, 0}));
}

// The settings' own operations on the registry: start-up on an empty
// registry, the last location and a changed flag.
TEST_F(RegistryStoreTest, SettingsRoundTripThroughTheRegistry) {
  AppSettingsState app;
  SetUpRegistry(*store_, app);
  EXPECT_EQ(app.m_strRegistryPath, "Software\\Quenwick Software\\" + Profile());
  LoadPreferences(*store_);
  EXPECT_EQ(thePreferences.m_bSleet, 1);
  WriteLastLocation(*store_, app, "Pine Hollow");
  SaveChangedFlag(*store_, kWeatherSeries[0], 0);

  EXPECT_EQ(ReadRaw(kAppKey, L"LastLocation").bytes, Utf16Bytes(L"Pine Hollow"));
  const std::string flag = kWeatherSeries[0].valueName;
  EXPECT_EQ(ReadRaw(kPrefsKey, Wide(flag).c_str()).bytes,
            (std::vector<BYTE>{0, 0, 0, 0}));
  auto again = MakeProfileStore(PlatformOptions{}, Profile());
  AppSettingsState next;
  SetUpRegistry(*again, next);
  LoadPreferences(*again);
  ReadLastLocation(*again, next);
  EXPECT_STREQ(next.m_szLastLocation, "Pine Hollow");
  EXPECT_EQ(FlagOf(thePreferences, kWeatherSeries[0].id), 0);
  thePreferences = CPreferences();
}

}  // namespace
