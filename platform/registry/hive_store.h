// The profile and key operations over a hive model; where the hive lives and
// how a change is made durable is left to the class that derives from it.
#pragma once

#include <map>
#include <string>

#include "platform/interfaces/profile_store.h"
#include "platform/registry/hive.h"

class HiveStore : public ProfileStore {
 public:
  explicit HiveStore(std::string profileName);

  void SetRegistryKey(const std::string& company) override;
  const std::string& RegistryKey() const override { return registryKey_; }
  const std::string& ProfileName() const override { return profileName_; }
  int GetProfileInt(const std::string& section, const std::string& entry,
                    int defaultValue) override;
  BOOL WriteProfileInt(const std::string& section, const std::string& entry, int value) override;
  reg::Status CreateKey(const std::string& path, reg::Key& key) override;
  reg::Status QueryValueEx(reg::Key key, const std::string& name, reg::ValueType* type,
                           unsigned char* data, std::uint32_t* size) override;
  reg::Status SetValueEx(reg::Key key, const std::string& name, reg::ValueType type,
                         const unsigned char* data, std::uint32_t size) override;
  reg::Status DeleteValue(reg::Key key, const std::string& name) override;
  reg::Status CloseKey(reg::Key key) override;

 protected:
  // The hive as this store last read or wrote it.
  virtual const Hive& CurrentHive() = 0;
  // Makes the change on the latest hive; CurrentHive shows it on success.
  virtual reg::Status Commit(const HiveChange& change) = 0;

 private:
  std::string FullPath(const std::string& path) const;
  // The open key, or an empty text when the key is not open.
  std::string OpenPath(reg::Key key) const;
  reg::Status EnsureKey(const std::string& fullPath);
  // Creates the application and section keys when absent.
  reg::Status OpenSection(const std::string& section, std::string& sectionPath);

  std::string registryKey_;
  std::string profileName_;
  std::string appPath_;  // full path; empty before SetRegistryKey
  std::map<reg::Key, std::string> openKeys_;
  reg::Key nextKey_ = 1;
};
