// The in-memory profile store of the tests.
#include "tests/support/in_memory_profile_store.h"

#include <cstdint>
#include <cstring>

InMemoryProfileStore::InMemoryProfileStore(std::string profileName)
    : HiveStore(std::move(profileName)) {}

reg::Status InMemoryProfileStore::Commit(const HiveChange& change) {
  writes_.push_back({change, failWrites_});
  if (failWrites_) return reg::kWriteFault;
  ApplyChange(hive_, change);
  return reg::kSuccess;
}

std::vector<std::string> InMemoryProfileStore::WrittenValues() const {
  std::vector<std::string> written;
  for (const auto& write : writes_) {
    if (!write.change.value) continue;
    const HiveValue& value = *write.change.value;
    std::string data = value.data;
    if (value.type == reg::kDword && data.size() == 4) {
      std::uint32_t number = 0;
      std::memcpy(&number, data.data(), 4);
      data = std::to_string(number);
    } else if (!data.empty() && data.back() == '\0') {
      data.pop_back();
    }
    written.push_back(value.name + "=" + data);
  }
  return written;
}
