// The profile and key operations over a hive model.
#include "platform/registry/hive_store.h"

#include <cstring>

namespace {
constexpr const char* kRoot = "HKEY_CURRENT_USER";
}

HiveStore::HiveStore(std::string profileName) : profileName_(std::move(profileName)) {}

void HiveStore::SetRegistryKey(const std::string& company) {
  registryKey_ = company;
  appPath_ = company.empty() ? "" : FullPath("Software\\" + company + "\\" + profileName_);
}

std::string HiveStore::FullPath(const std::string& path) const {
  return path.empty() ? kRoot : std::string(kRoot) + "\\" + path;
}

std::string HiveStore::OpenPath(reg::Key key) const {
  auto it = openKeys_.find(key);
  return it == openKeys_.end() ? std::string() : it->second;
}

reg::Status HiveStore::EnsureKey(const std::string& fullPath) {
  if (FindKey(CurrentHive(), fullPath) != nullptr) return reg::kSuccess;
  return Commit(HiveChange{fullPath, std::nullopt});
}

reg::Status HiveStore::CreateKey(const std::string& path, reg::Key& key) {
  std::string full = FullPath(path);
  if (!IsStorableKeyPath(full)) return reg::kInvalidParameter;
  if (const reg::Status status = EnsureKey(full); status != reg::kSuccess) return status;
  key = nextKey_++;
  openKeys_.emplace(key, std::move(full));
  return reg::kSuccess;
}

reg::Status HiveStore::QueryValueEx(reg::Key key, const std::string& name, reg::ValueType* type,
                                    unsigned char* data, std::uint32_t* size) {
  const std::string path = OpenPath(key);
  if (path.empty()) return reg::kInvalidHandle;
  if (data != nullptr && size == nullptr) return reg::kInvalidParameter;
  const HiveKey* hiveKey = FindKey(CurrentHive(), path);
  const HiveValue* value = hiveKey ? FindValue(*hiveKey, name) : nullptr;
  if (value == nullptr) return reg::kFileNotFound;
  if (type != nullptr) *type = value->type;
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return reg::kMoreData;
  }
  if (data != nullptr) std::memcpy(data, value->data.data(), needed);
  if (size != nullptr) *size = needed;
  return reg::kSuccess;
}

reg::Status HiveStore::SetValueEx(reg::Key key, const std::string& name, reg::ValueType type,
                                  const unsigned char* data, std::uint32_t size) {
  const std::string path = OpenPath(key);
  if (path.empty()) return reg::kInvalidHandle;
  if (!IsStorableValueName(name) || (data == nullptr && size != 0)) return reg::kInvalidParameter;
  std::string bytes(reinterpret_cast<const char*>(data), data == nullptr ? 0 : size);
  return Commit(HiveChange{path, HiveValue{name, type, std::move(bytes)}});
}

reg::Status HiveStore::DeleteValue(reg::Key key, const std::string& name) {
  const std::string path = OpenPath(key);
  if (path.empty()) return reg::kInvalidHandle;
  const HiveKey* hiveKey = FindKey(CurrentHive(), path);
  if (hiveKey == nullptr || FindValue(*hiveKey, name) == nullptr) return reg::kFileNotFound;
  return Commit(HiveChange{path, HiveValue{name, reg::kNone, {}}, true});
}

reg::Status HiveStore::CloseKey(reg::Key key) {
  return openKeys_.erase(key) == 1 ? reg::kSuccess : reg::kInvalidHandle;
}

reg::Status HiveStore::OpenSection(const std::string& section, std::string& sectionPath) {
  // Before SetRegistryKey the profile has no place in the registry.
  if (appPath_.empty()) return reg::kFileNotFound;
  if (const reg::Status status = EnsureKey(appPath_); status != reg::kSuccess) return status;
  sectionPath = appPath_ + "\\" + section;
  if (!IsStorableKeyPath(sectionPath)) return reg::kInvalidParameter;
  return EnsureKey(sectionPath);
}

int HiveStore::GetProfileInt(const std::string& section, const std::string& entry,
                             int defaultValue) {
  std::string path;
  if (OpenSection(section, path) != reg::kSuccess) return defaultValue;
  const HiveKey* key = FindKey(CurrentHive(), path);
  const HiveValue* value = key ? FindValue(*key, entry) : nullptr;
  // A value of another type or length would leave the number partly unread.
  if (value == nullptr || value->type != reg::kDword || value->data.size() != 4)
    return defaultValue;
  std::uint32_t number = 0;
  std::memcpy(&number, value->data.data(), sizeof number);
  return static_cast<int>(number);
}

BOOL HiveStore::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
  std::string path;
  if (OpenSection(section, path) != reg::kSuccess || !IsStorableValueName(entry)) return 0;
  const auto number = static_cast<std::uint32_t>(value);
  std::string bytes(reinterpret_cast<const char*>(&number), sizeof number);
  return Commit(HiveChange{std::move(path), HiveValue{entry, reg::kDword, std::move(bytes)}}) ==
         reg::kSuccess;
}
