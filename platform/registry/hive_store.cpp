// The profile and key operations over a hive model.
#include "platform/registry/hive_store.h"

#include <cstring>

namespace {
constexpr const char* kRoot = "HKEY_CURRENT_USER";
}

HiveStore::HiveStore(std::string profileName) : profileName_(std::move(profileName)) {}

void HiveStore::SetRegistryKey(const std::string& company) { registryKey_ = company; }

std::string HiveStore::FullPath(const std::string& path) const {
  return path.empty() ? kRoot : std::string(kRoot) + "\\" + path;
}

std::string HiveStore::OpenPath(reg::Key key) const {
  auto it = openKeys_.find(key);
  return it == openKeys_.end() ? std::string() : it->second;
}

reg::Status HiveStore::CreateKey(const std::string& path, reg::Key& key) {
  const std::string full = FullPath(path);
  if (!IsStorableKeyPath(full)) return reg::kInvalidParameter;
  if (FindKey(CurrentHive(), full) == nullptr) {
    if (const reg::Status status = Commit(HiveChange{full, std::nullopt}); status != reg::kSuccess)
      return status;
  }
  key = nextKey_++;
  openKeys_[key] = full;
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

reg::Status HiveStore::CloseKey(reg::Key key) {
  return openKeys_.erase(key) == 1 ? reg::kSuccess : reg::kInvalidHandle;
}

reg::Status HiveStore::OpenSection(const std::string& section, reg::Key& key) {
  // Before SetRegistryKey the profile has no place in the registry.
  if (registryKey_.empty()) return reg::kFileNotFound;
  const std::string appPath = "Software\\" + registryKey_ + "\\" + profileName_;
  reg::Key appKey = 0;
  if (const reg::Status status = CreateKey(appPath, appKey); status != reg::kSuccess) return status;
  CloseKey(appKey);
  return CreateKey(appPath + "\\" + section, key);
}

int HiveStore::GetProfileInt(const std::string& section, const std::string& entry,
                             int defaultValue) {
  reg::Key key = 0;
  if (OpenSection(section, key) != reg::kSuccess) return defaultValue;
  reg::ValueType type = reg::kNone;
  std::uint32_t number = 0;
  std::uint32_t size = sizeof number;
  const reg::Status status =
      QueryValueEx(key, entry, &type, reinterpret_cast<unsigned char*>(&number), &size);
  CloseKey(key);
  // A value of another type or length would leave the number partly unread.
  if (status != reg::kSuccess || type != reg::kDword || size != sizeof number) return defaultValue;
  return static_cast<int>(number);
}

BOOL HiveStore::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
  reg::Key key = 0;
  if (OpenSection(section, key) != reg::kSuccess) return 0;
  const auto number = static_cast<std::uint32_t>(value);
  const reg::Status status = SetValueEx(
      key, entry, reg::kDword, reinterpret_cast<const unsigned char*>(&number), sizeof number);
  CloseKey(key);
  return status == reg::kSuccess;
}
