// The run-time knobs, read once at start.
#include "app/platform_options_reader.h"

#include <charconv>
#include <string>
#include <string_view>

#include "lookup/service_key.h"

namespace {

std::string Text(const EnvironmentLookup& getenv, const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

long Milliseconds(const EnvironmentLookup& getenv, const char* name, long fallback) {
  const std::string text = Text(getenv, name);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size() && value > 0 ? value : fallback;
}

bool Absolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

}  // namespace

std::string ChooseApiKey(const PlatformOptions& options, const std::string& storedKey) {
  if (options.apiKeyFromEnvironment) return options.apiKey;
  if (!storedKey.empty()) return storedKey;
  return CompiledApiKey();
}

PlatformOptions ReadPlatformOptions(const EnvironmentLookup& getenv) {
  PlatformOptions options;
  options.apiKey = Text(getenv, "ORLIMAR_API_KEY");
  options.apiKeyFromEnvironment = !options.apiKey.empty();
  // The stored key needs the settings, which need these options: the caller
  // chooses again with it (ChooseApiKey).
  if (!options.apiKeyFromEnvironment) options.apiKey = CompiledApiKey();
  options.connectTo = Text(getenv, "ORLIMAR_CONNECT_TO");
  options.caBundle = Text(getenv, "ORLIMAR_CA_BUNDLE");
  options.connectTimeoutMs =
      Milliseconds(getenv, "ORLIMAR_CONNECT_TIMEOUT_MS", options.connectTimeoutMs);
  options.receiveTimeoutMs =
      Milliseconds(getenv, "ORLIMAR_RECEIVE_TIMEOUT_MS", options.receiveTimeoutMs);
  for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!Text(getenv, display).empty()) options.displayNamed = true;
  }
  if (const std::string xdg = Text(getenv, "XDG_CONFIG_HOME"); Absolute(xdg)) {
    options.configFolder = xdg;
  } else if (const std::string home = Text(getenv, "HOME"); Absolute(home)) {
    options.configFolder = home + "/.config";
  }
  return options;
}
