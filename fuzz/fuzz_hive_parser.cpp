// Fuzzes the hive file reader: whatever it accepts must write back to a text
// that reads as the same hive and writes the same again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/registry/hive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<Hive> hive = ParseHive({reinterpret_cast<const char*>(data), size});
  if (!hive) return 0;
  const std::string written = SerializeHive(*hive);
  const std::optional<Hive> again = ParseHive(written);
  if (!again || *again != *hive || SerializeHive(*again) != written) __builtin_trap();
  return 0;
}
