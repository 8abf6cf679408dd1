// The hive model's look-ups and changes, and its REGEDIT4 reader and writer.
#include "platform/registry/hive.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::size_t kHexLineWidth = 78;

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

bool HasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return IsControl(c); });
}

template <class Key>
auto* FindKeyIn(Key& keys, std::string_view path) {
  auto it = std::find_if(keys.begin(), keys.end(),
                         [&](const HiveKey& key) { return NamesEqual(key.path, path); });
  return it == keys.end() ? nullptr : &*it;
}

HiveValue* FindValueIn(HiveKey& key, std::string_view name) {
  return const_cast<HiveValue*>(FindValue(key, name));
}

// Text that reads back as itself between quotes: one final NUL, nothing
// below a space before it.
bool IsPlainText(const HiveValue& value) {
  const std::string& data = value.data;
  return value.type == reg::kSz && !data.empty() && data.back() == '\0' &&
         !HasControl(std::string_view(data).substr(0, data.size() - 1));
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void AppendHex(std::string& out, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::size_t lineLength = out.size() - (out.rfind('\n') + 1);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const bool last = i + 1 == bytes.size();
    if (i > 0 && lineLength + (last ? 2 : 3) > kHexLineWidth) {
      out += "\\\n  ";
      lineLength = 2;
    }
    const auto byte = static_cast<unsigned char>(bytes[i]);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xf];
    if (!last) out += ',';
    lineLength += last ? 2 : 3;
  }
}

void AppendValue(std::string& out, const HiveValue& value) {
  if (value.name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, value.name);
  }
  out += '=';
  if (IsPlainText(value)) {
    AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
  } else if (value.type == reg::kDword && value.data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value.data[i]);
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", number);
    out += text;
  } else {
    char text[24];
    std::snprintf(text, sizeof text, "hex(%x):", value.type);
    out += text;
    AppendHex(out, value.data);
  }
  out += '\n';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = FoldCase(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// 1 to 8 hex digits, the whole text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    number = number << 4 | static_cast<std::uint32_t>(digit);
  }
  return number;
}

// Reads a quoted text at the start of `text` and removes it from `text`.
std::optional<std::string> TakeQuoted(std::string_view& text) {
  if (text.empty() || text.front() != '"') return std::nullopt;
  std::string result;
  for (std::size_t i = 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      text.remove_prefix(i + 1);
      return result;
    }
    if (c == '\\') {
      if (++i == text.size()) return std::nullopt;
      c = text[i];
      if (c != '\\' && c != '"') return std::nullopt;
    }
    result += c;
  }
  return std::nullopt;
}

// "xx,xx,...", blanks allowed around the commas; empty is no bytes.
std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string bytes;
  text = Trim(text);
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view item = Trim(text.substr(0, comma));
    if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) return std::nullopt;
    bytes += static_cast<char>(HexDigit(item[0]) << 4 | HexDigit(item[1]));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (Trim(text).empty()) return std::nullopt;
  }
  return bytes;
}

std::optional<HiveValue> ParseValueData(std::string name, std::string_view data) {
  HiveValue value{std::move(name), reg::kNone, {}};
  if (!data.empty() && data.front() == '"') {
    std::optional<std::string> text = TakeQuoted(data);
    if (!text || !data.empty()) return std::nullopt;
    value.type = reg::kSz;
    value.data = std::move(*text) + '\0';
    return value;
  }
  if (data.starts_with("dword:")) {
    const std::optional<std::uint32_t> number = ParseHexNumber(data.substr(6));
    if (!number) return std::nullopt;
    value.type = reg::kDword;
    for (int i = 0; i < 4; ++i) value.data += static_cast<char>(*number >> (8 * i) & 0xff);
    return value;
  }
  if (data.starts_with("hex:")) {
    value.type = reg::kBinary;
    data.remove_prefix(4);
  } else if (data.starts_with("hex(")) {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    const std::optional<std::uint32_t> type = ParseHexNumber(data.substr(4, close - 4));
    if (!type) return std::nullopt;
    value.type = *type;
    data.remove_prefix(close + 2);
  } else {
    return std::nullopt;
  }
  std::optional<std::string> bytes = ParseHexBytes(data);
  if (!bytes) return std::nullopt;
  value.data = std::move(*bytes);
  return value;
}

std::optional<HiveValue> ParseValueLine(std::string_view line) {
  std::string name;
  if (line.starts_with("@")) {
    line.remove_prefix(1);
  } else {
    std::optional<std::string> quoted = TakeQuoted(line);
    if (!quoted || !IsStorableValueName(*quoted)) return std::nullopt;
    name = std::move(*quoted);
  }
  line = Trim(line);
  if (!line.starts_with("=")) return std::nullopt;
  return ParseValueData(std::move(name), Trim(line.substr(1)));
}

bool IsContinued(std::string_view raw) {
  const std::string_view line = Trim(raw);
  return (line.starts_with('"') || line.starts_with('@')) && line.ends_with('\\') &&
         line.find("=hex") != std::string_view::npos;
}

std::string Folded(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

// The keys and values read so far, found by their folded names: a file of many
// keys or values is read in linear time, not in time that grows with its square.
class HiveIndex {
 public:
  explicit HiveIndex(Hive& hive) : hive_(hive) {}

  std::size_t Key(std::string_view path) {
    auto [it, added] = keys_.try_emplace(Folded(path), hive_.keys.size());
    if (added) hive_.keys.push_back(HiveKey{std::string(path), {}});
    return it->second;
  }

  // As ApplyChange: an existing name keeps its spelling and takes the new data.
  void Set(std::size_t key, HiveValue value) {
    std::vector<HiveValue>& values = hive_.keys[key].values;
    std::string name = std::to_string(key) + '\\' + Folded(value.name);
    auto [it, added] = values_.try_emplace(std::move(name), values.size());
    if (added) {
      values.push_back(std::move(value));
    } else {
      values[it->second].type = value.type;
      values[it->second].data = std::move(value.data);
    }
  }

 private:
  Hive& hive_;
  std::unordered_map<std::string, std::size_t> keys_;
  std::unordered_map<std::string, std::size_t> values_;  // "KEY\\name" to its place
};

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // names are mostly spelled as created
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

const HiveKey* FindKey(const Hive& hive, std::string_view path) {
  return FindKeyIn(hive.keys, path);
}

const HiveValue* FindValue(const HiveKey& key, std::string_view name) {
  auto it = std::find_if(key.values.begin(), key.values.end(),
                         [&](const HiveValue& value) { return NamesEqual(value.name, name); });
  return it == key.values.end() ? nullptr : &*it;
}

bool ApplyChange(Hive& hive, HiveChange change) {
  bool changed = false;
  HiveKey* key = FindKeyIn(hive.keys, change.keyPath);
  if (key == nullptr) {
    key = &hive.keys.emplace_back(HiveKey{std::move(change.keyPath), {}});
    changed = true;
  }
  if (!change.value) return changed;
  if (change.removeValue) {
    const auto named = [&](const HiveValue& v) { return NamesEqual(v.name, change.value->name); };
    const auto it = std::find_if(key->values.begin(), key->values.end(), named);
    if (it == key->values.end()) return changed;
    key->values.erase(it);
    return true;
  }
  // An existing name keeps the spelling it was created with.
  if (HiveValue* value = FindValueIn(*key, change.value->name)) {
    if (value->type == change.value->type && value->data == change.value->data) return changed;
    value->type = change.value->type;
    value->data = std::move(change.value->data);
  } else {
    key->values.push_back(std::move(*change.value));
  }
  return true;
}

bool IsStorableKeyPath(std::string_view path) {
  if (path.empty() || path.front() == '-' || HasControl(path)) return false;
  std::size_t start = 0;
  for (std::size_t slash; (slash = path.find('\\', start)) != std::string_view::npos;
       start = slash + 1) {
    if (slash == start) return false;
  }
  return start < path.size();
}

bool IsStorableValueName(std::string_view name) { return !HasControl(name); }

std::optional<Hive> ParseHive(std::string_view text) {
  Hive hive;
  HiveIndex index(hive);
  std::optional<std::size_t> key;
  bool header = false;
  std::string joined;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    // A hex value goes on over lines that end in a backslash.
    // Only the end of the joined text is looked at again, never all of it.
    if (IsContinued(raw)) {
      joined = Trim(raw);
      while (joined.ends_with('\\') && !text.empty()) {
        joined.pop_back();
        end = text.find('\n');
        joined += Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!joined.empty() && IsBlank(joined.back())) joined.pop_back();
      }
      raw = joined;
    }
    const std::string_view line = Trim(raw);
    if (!header) {
      if (line != kHeader) return std::nullopt;
      header = true;
    } else if (line.empty() || line.front() == ';') {
      continue;
    } else if (line.front() == '[') {
      if (!line.ends_with(']')) return std::nullopt;
      const std::string_view path = line.substr(1, line.size() - 2);
      if (!IsStorableKeyPath(path)) return std::nullopt;
      key = index.Key(path);
    } else {
      std::optional<HiveValue> value = ParseValueLine(line);
      if (!value || !key) return std::nullopt;
      index.Set(*key, std::move(*value));
    }
  }
  if (!header) return std::nullopt;
  return hive;
}

std::string SerializeHive(const Hive& hive) {
  std::string out(kHeader);
  out += '\n';
  for (const HiveKey& key : hive.keys) {
    out += "\n[";
    out += key.path;
    out += "]\n";
    for (const HiveValue& value : key.values) AppendValue(out, value);
  }
  return out;
}
