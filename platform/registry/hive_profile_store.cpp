// The hive file: read once and kept, every write locked and atomic.
#include "platform/registry/hive_profile_store.h"

#include "platform/registry/hive_store.h"

namespace {

class HiveFileStore : public HiveStore {
 public:
  HiveFileStore(std::string profileName, std::string path, SystemCalls& calls)
      : HiveStore(std::move(profileName)), path_(std::move(path)), calls_(calls) {}

 protected:
  const Hive& CurrentHive() override { return hive_; }
  reg::Status Commit(const HiveChange& change) override {
    ApplyChange(hive_, change);
    return reg::kSuccess;
  }

 private:
  std::string path_;
  SystemCalls& calls_;
  Hive hive_;
};

}  // namespace

std::string DefaultHivePath() { return {}; }

std::unique_ptr<ProfileStore> MakeHiveProfileStore(std::string profileName) {
  return MakeHiveProfileStore(std::move(profileName), DefaultHivePath());
}

std::unique_ptr<ProfileStore> MakeHiveProfileStore(std::string profileName, std::string filePath,
                                                   SystemCalls& calls) {
  return std::make_unique<HiveFileStore>(std::move(profileName), std::move(filePath), calls);
}
