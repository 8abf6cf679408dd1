// A second process for the hive file tests: writes in a loop until killed, or
// flips its own flags a given number of times.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/registry/hive_file_store_unix.h"

namespace {

constexpr const char* kApp = "Software\\Quenwick Software\\Orlimar";

// A value big enough that a write takes a while; every byte tells its count,
// so a torn write would show.
std::string CounterValue(std::uint32_t n) {
  std::string data(reinterpret_cast<const char*>(&n), 4);
  data.append(8192, static_cast<char>(n & 0xff));
  return data;
}

int CountForever(ProfileStore& store) {
  reg::Key key = 0;
  if (store.CreateKey(kApp, key) != reg::kSuccess) return 1;
  std::string stored = CounterValue(0);
  auto size = static_cast<std::uint32_t>(stored.size());
  store.QueryValueEx(key, "Counter", nullptr, reinterpret_cast<unsigned char*>(stored.data()),
                     &size);
  std::uint32_t n = 0;
  std::memcpy(&n, stored.data(), sizeof n);
  for (;;) {
    const std::string data = CounterValue(++n);
    if (store.SetValueEx(key, "Counter", reg::kBinary,
                         reinterpret_cast<const unsigned char*>(data.data()),
                         static_cast<std::uint32_t>(data.size())) != reg::kSuccess)
      return 1;
    std::printf("%u\n", n);
    std::fflush(stdout);
  }
}

int Flip(ProfileStore& store, const std::string& prefix, int rounds) {
  store.SetRegistryKey("Quenwick Software");
  for (int round = 0; round < rounds; ++round) {
    for (int flag = 0; flag < 6; ++flag) {
      if (!store.WriteProfileInt("Preferences", prefix + std::to_string(flag), (round + flag) % 2))
        return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "count" && argc == 3) return CountForever(*MakeHiveProfileStore("Orlimar", argv[2]));
  if (mode == "flip" && argc == 5)
    return Flip(*MakeHiveProfileStore("Orlimar", argv[2]), argv[3], std::atoi(argv[4]));
  std::fprintf(stderr, "usage: registry_writer count FILE | flip FILE PREFIX ROUNDS\n");
  return 2;
}
