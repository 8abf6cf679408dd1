// A profile store held in memory that records every write and can be told to
// fail them, for tests of the settings logic.
#pragma once

#include <string>
#include <vector>

#include "platform/registry/hive_store.h"

class InMemoryProfileStore : public HiveStore {
 public:
  explicit InMemoryProfileStore(std::string profileName = "Orlimar");

  struct Write {
    HiveChange change;
    bool failed;
  };

  // Every write asked for, in order, including the failed ones.
  const std::vector<Write>& writes() const { return writes_; }
  // The values written, as "Name=value": a DWORD in decimal, a text without
  // its terminating NUL. Removals are left out.
  std::vector<std::string> WrittenValues() const;
  void ClearWrites() { writes_.clear(); }
  void FailWrites(bool fail) { failWrites_ = fail; }
  Hive& hive() { return hive_; }

 protected:
  const Hive& CurrentHive() override { return hive_; }
  reg::Status Commit(const HiveChange& change) override;

 private:
  Hive hive_;
  std::vector<Write> writes_;
  bool failWrites_ = false;
};
