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

// Creates the key when absent; a reader only opens it, for reading. A key a
// reader lacks opens as an empty one (no handle): it holds nothing to read.
LONG CreateKey(HKEY parent, const std::string& path, bool readOnly, OwnedKey& key) {
  HKEY opened = nullptr;
  const std::wstring name = Utf16(path);
  LONG status = ERROR_SUCCESS;
  if (readOnly) {
    if (parent == nullptr) return ERROR_SUCCESS;
    status = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &opened);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  } else {
    status = RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_READ | KEY_WRITE, nullptr, &opened, nullptr);
  }
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
  RegistryProfileStore(std::string profileName, bool readOnly)
      : profileName_(std::move(profileName)), readOnly_(readOnly) {}

  void SetRegistryKey(const std::string& company) override { registryKey_ = company; }
  const std::string& RegistryKey() const override { return registryKey_; }
  const std::string& ProfileName() const override { return profileName_; }

  int GetProfileInt(const std::string& section, const std::string& entry,
                    int defaultValue) override {
    OwnedKey key;
    if (OpenSection(section, key) != ERROR_SUCCESS || !key) return defaultValue;
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
    if (readOnly_ || OpenSection(section, key) != ERROR_SUCCESS) return FALSE;
    const auto number = static_cast<DWORD>(value);
    return RegSetValueExW(key.get(), Utf16(entry).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS;
  }

  reg::Status CreateKey(const std::string& path, reg::Key& key) override {
    OwnedKey opened;
    if (const LONG status = ::CreateKey(HKEY_CURRENT_USER, path, readOnly_, opened);
        status != ERROR_SUCCESS)
      return status;
    key = nextKey_++;
    openKeys_.emplace(key, std::move(opened));
    return reg::kSuccess;
  }

  reg::Status QueryValueEx(reg::Key key, const std::string& name, reg::ValueType* type,
                           unsigned char* data, std::uint32_t* size) override {
    const auto open = openKeys_.find(key);
    if (open == openKeys_.end()) return ERROR_INVALID_HANDLE;
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    const HKEY hkey = open->second.get();
    if (hkey == nullptr) return ERROR_FILE_NOT_FOUND;
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
    const auto open = openKeys_.find(key);
    if (open == openKeys_.end()) return ERROR_INVALID_HANDLE;
    if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
    // A reader's keys are opened for reading: the registry refuses the write.
    if (open->second == nullptr) return ERROR_ACCESS_DENIED;
    const HKEY hkey = open->second.get();
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

  reg::Status DeleteValue(reg::Key key, const std::string& name) override {
    const auto open = openKeys_.find(key);
    if (open == openKeys_.end()) return ERROR_INVALID_HANDLE;
    if (open->second == nullptr) return ERROR_FILE_NOT_FOUND;
    return RegDeleteValueW(open->second.get(), Utf16(name).c_str());
  }

  reg::Status CloseKey(reg::Key key) override {
    return openKeys_.erase(key) == 1 ? reg::kSuccess : ERROR_INVALID_HANDLE;
  }

 private:
  // HKCU\Software\<company>\<profile name>\<section>, created when absent
  // (a reader's may stay without a handle).
  LONG OpenSection(const std::string& section, OwnedKey& key) {
    // Before SetRegistryKey the profile has no place in the registry.
    if (registryKey_.empty()) return ERROR_FILE_NOT_FOUND;
    OwnedKey app;
    const LONG status = ::CreateKey(
        HKEY_CURRENT_USER, "Software\\" + registryKey_ + "\\" + profileName_, readOnly_, app);
    if (status != ERROR_SUCCESS) return status;
    return ::CreateKey(app.get(), section, readOnly_, key);
  }

  std::string registryKey_;
  std::string profileName_;
  bool readOnly_;
  std::map<reg::Key, OwnedKey> openKeys_;  // a reader's missing key: no handle
  reg::Key nextKey_ = 1;
};

}  // namespace

// The registry needs no file: the options' settings folder is not used.
std::unique_ptr<ProfileStore> MakeProfileStore(const PlatformOptions& options,
                                               std::string profileName) {
  return std::make_unique<RegistryProfileStore>(std::move(profileName), options.readOnlySettings);
}
