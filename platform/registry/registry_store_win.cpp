// The profile and key operations on the current user's registry (advapi32).
#include <windows.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/interfaces/platform_factories.h"
#include "platform/interfaces/profile_store.h"
#include "platform/win32/utf16_win.h"

namespace {

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The open key closes itself.
struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

LONG CreateKey(HKEY parent, const std::string& path, OwnedKey& key) {
  HKEY opened = nullptr;
  const LONG status = RegCreateKeyExW(parent, Utf16(path).c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                      &opened, nullptr);
  if (status == ERROR_SUCCESS) key.reset(opened);
  return status;
}

// The whole value as stored, its text values as UTF-8: what the program's
// "A"-style reads see.
LONG ReadValue(HKEY key, const std::wstring& name, DWORD& type, std::string& bytes) {
  DWORD size = 0;
  LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  std::string raw;
  // The value may grow between the two calls; ask again until it fits.
  for (int attempt = 0; status == ERROR_SUCCESS && attempt < 8; ++attempt) {
    raw.resize(size);
    DWORD got = size;
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(raw.data()), &got);
    if (status == ERROR_SUCCESS) {
      raw.resize(got);
      break;
    }
    if (status == ERROR_MORE_DATA) {
      size = got;
      status = ERROR_SUCCESS;
    }
  }
  if (status != ERROR_SUCCESS) return status;
  if (IsText(type)) {
    std::wstring text(raw.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), raw.data(), text.size() * sizeof(wchar_t));
    bytes = Utf8(text);
  } else {
    bytes = std::move(raw);
  }
  return ERROR_SUCCESS;
}

class RegistryProfileStore : public ProfileStore {
 public:
  explicit RegistryProfileStore(std::string profileName) : profileName_(std::move(profileName)) {}

  void SetRegistryKey(const std::string& company) override { registryKey_ = company; }
  const std::string& RegistryKey() const override { return registryKey_; }
  const std::string& ProfileName() const override { return profileName_; }

  int GetProfileInt(const std::string& section, const std::string& entry,
                    int defaultValue) override {
    OwnedKey key;
    if (OpenSection(section, key) != ERROR_SUCCESS) return defaultValue;
    DWORD type = REG_NONE;
    DWORD number = 0;
    DWORD size = sizeof number;
    // A longer value gives ERROR_MORE_DATA; a shorter one leaves the number
    // partly unread: both give the default.
    const LONG status = RegQueryValueExW(key.get(), Utf16(entry).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&number), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof number)
      return defaultValue;
    return static_cast<int>(number);
  }

  BOOL WriteProfileInt(const std::string& section, const std::string& entry,
                       int value) override {
    OwnedKey key;
    if (OpenSection(section, key) != ERROR_SUCCESS) return FALSE;
    const auto number = static_cast<DWORD>(value);
    return RegSetValueExW(key.get(), Utf16(entry).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS;
  }

  reg::Status CreateKey(const std::string& path, reg::Key& key) override {
    OwnedKey opened;
    if (const LONG status = ::CreateKey(HKEY_CURRENT_USER, path, opened); status != ERROR_SUCCESS)
      return status;
    key = nextKey_++;
    openKeys_.emplace(key, std::move(opened));
    return reg::kSuccess;
  }

  reg::Status QueryValueEx(reg::Key key, const std::string& name, reg::ValueType* type,
                           unsigned char* data, std::uint32_t* size) override {
    const HKEY hkey = Find(key);
    if (hkey == nullptr) return ERROR_INVALID_HANDLE;
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    DWORD storedType = REG_NONE;
    std::string bytes;
    if (const LONG status = ReadValue(hkey, Utf16(name), storedType, bytes);
        status != ERROR_SUCCESS)
      return status;
    if (type != nullptr) *type = storedType;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr && *size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::memcpy(data, bytes.data(), needed);
    if (size != nullptr) *size = needed;
    return reg::kSuccess;
  }

  reg::Status SetValueEx(reg::Key key, const std::string& name, reg::ValueType type,
                         const unsigned char* data, std::uint32_t size) override {
    const HKEY hkey = Find(key);
    if (hkey == nullptr) return ERROR_INVALID_HANDLE;
    if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
    std::string bytes(reinterpret_cast<const char*>(data), data == nullptr ? 0 : size);
    // Text is stored as UTF-16, as RegSetValueExA stores its code page's text.
    std::wstring text;
    if (IsText(type)) {
      text = Utf16(bytes);
      bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }
    return RegSetValueExW(hkey, Utf16(name).c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
  }

  reg::Status CloseKey(reg::Key key) override {
    return openKeys_.erase(key) == 1 ? reg::kSuccess : ERROR_INVALID_HANDLE;
  }

 private:
  HKEY Find(reg::Key key) const {
    const auto it = openKeys_.find(key);
    return it == openKeys_.end() ? nullptr : it->second.get();
  }

  // HKCU\Software\<company>\<profile name>\<section>, created when absent.
  LONG OpenSection(const std::string& section, OwnedKey& key) {
    // Before SetRegistryKey the profile has no place in the registry.
    if (registryKey_.empty()) return ERROR_FILE_NOT_FOUND;
    OwnedKey app;
    const LONG status = ::CreateKey(HKEY_CURRENT_USER,
                                    "Software\\" + registryKey_ + "\\" + profileName_, app);
    if (status != ERROR_SUCCESS) return status;
    return ::CreateKey(app.get(), section, key);
  }

  std::string registryKey_;
  std::string profileName_;
  std::map<reg::Key, OwnedKey> openKeys_;
  reg::Key nextKey_ = 1;
};

}  // namespace

// The registry needs no file: the options' settings folder is not used.
std::unique_ptr<ProfileStore> MakeProfileStore(const PlatformOptions&, std::string profileName) {
  return std::make_unique<RegistryProfileStore>(std::move(profileName));
}
