// The hive model behind the registry stand-in: keys and typed values in their
// order of creation, and their REGEDIT4 text form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interfaces/profile_store.h"

struct HiveValue {
  std::string name;  // empty for the key's default value
  reg::ValueType type = reg::kNone;
  std::string data;  // the bytes exactly as stored
  bool operator==(const HiveValue&) const = default;
};

struct HiveKey {
  std::string path;  // full path, e.g. HKEY_CURRENT_USER\Software
  std::vector<HiveValue> values;
  bool operator==(const HiveKey&) const = default;
};

struct Hive {
  std::vector<HiveKey> keys;
  bool operator==(const Hive&) const = default;
};

// One write: create the key when absent and, with a value, set it (or, with
// removeValue, remove the value of that name).
struct HiveChange {
  std::string keyPath;
  std::optional<HiveValue> value;
  bool removeValue = false;
  bool operator==(const HiveChange&) const = default;
};

// ASCII letters compare without regard to case, as the registry's names do.
bool NamesEqual(std::string_view a, std::string_view b);
const HiveKey* FindKey(const Hive& hive, std::string_view path);
const HiveValue* FindValue(const HiveKey& key, std::string_view name);
// False when the hive already held the change.
bool ApplyChange(Hive& hive, HiveChange change);
// A name the text form can hold: no control characters, no empty path parts.
bool IsStorableKeyPath(std::string_view path);
bool IsStorableValueName(std::string_view name);

// Nothing when the text is not a hive this code could have written or read.
std::optional<Hive> ParseHive(std::string_view text);
std::string SerializeHive(const Hive& hive);
