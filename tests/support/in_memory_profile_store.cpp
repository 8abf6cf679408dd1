// The in-memory profile store of the tests.
#include "tests/support/in_memory_profile_store.h"

InMemoryProfileStore::InMemoryProfileStore(std::string profileName)
    : HiveStore(std::move(profileName)) {}

reg::Status InMemoryProfileStore::Commit(const HiveChange& change) {
  writes_.push_back({change, failWrites_});
  if (failWrites_) return reg::kWriteFault;
  ApplyChange(hive_, change);
  return reg::kSuccess;
}
