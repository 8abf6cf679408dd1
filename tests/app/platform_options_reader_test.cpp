// The run-time knobs: which variables count, and what an unusable value falls back to.
#include "app/platform_options_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "lookup/service_key.h"

namespace {

using Environment = std::map<std::string, std::string>;

EnvironmentLookup Lookup(const Environment& environment) {
  return [&environment](const char* name) -> const char* {
    const auto found = environment.find(name);
    return found != environment.end() ? found->second.c_str() : nullptr;
  };
}

PlatformOptions Read(const Environment& environment) {
  return ReadPlatformOptions(Lookup(environment));
}

TEST(PlatformOptionsReader, NothingSetGivesTheDefaults) {
  const PlatformOptions options = Read({});
  EXPECT_EQ(options.apiKey, CompiledApiKey());
  EXPECT_EQ(options.connectTo, "");
  EXPECT_EQ(options.caBundle, "");
  EXPECT_EQ(options.connectTimeoutMs, 60000);
  EXPECT_EQ(options.receiveTimeoutMs, 30000);
  EXPECT_EQ(options.configFolder, "");
}

TEST(PlatformOptionsReader, EveryKnobIsTaken) {
  const PlatformOptions options = Read({{"ORLIMAR_API_KEY", "k&y"},
                                        {"ORLIMAR_CONNECT_TO", "a:443:127.0.0.1:8443"},
                                        {"ORLIMAR_CA_BUNDLE", "/tmp/ca.pem"},
                                        {"ORLIMAR_CONNECT_TIMEOUT_MS", "300"},
                                        {"ORLIMAR_RECEIVE_TIMEOUT_MS", "400"},
                                        {"XDG_CONFIG_HOME", "/x/conf"},
                                        {"HOME", "/home/someone"}});
  EXPECT_EQ(options.apiKey, "k&y");
  EXPECT_EQ(options.connectTo, "a:443:127.0.0.1:8443");
  EXPECT_EQ(options.caBundle, "/tmp/ca.pem");
  EXPECT_EQ(options.connectTimeoutMs, 300);
  EXPECT_EQ(options.receiveTimeoutMs, 400);
  EXPECT_EQ(options.configFolder, "/x/conf");
}

TEST(PlatformOptionsReader, UnusableValuesFallBack) {
  const PlatformOptions options = Read({{"ORLIMAR_API_KEY", ""},
                                        {"ORLIMAR_CONNECT_TIMEOUT_MS", "0"},
                                        {"ORLIMAR_RECEIVE_TIMEOUT_MS", "5s"},
                                        {"XDG_CONFIG_HOME", "relative"},
                                        {"HOME", "/home/someone"}});
  EXPECT_EQ(options.apiKey, CompiledApiKey()) << "an empty key counts as unset";
  EXPECT_EQ(options.connectTimeoutMs, 60000);
  EXPECT_EQ(options.receiveTimeoutMs, 30000);
  // Not absolute: ignored, as the XDG rules ask.
  EXPECT_EQ(options.configFolder, "/home/someone/.config");
  EXPECT_EQ(Read({{"HOME", "relative"}}).configFolder, "");
}

TEST(PlatformOptionsReader, KeyIsTheEnvironmentsThenTheStoredThenTheCompiled) {
  EXPECT_EQ(ChooseApiKey(Read({{"ORLIMAR_API_KEY", "fromEnvironment"}}), "stored"),
            "fromEnvironment");
  // Even a key from the environment that equals the compiled one goes first.
  EXPECT_EQ(ChooseApiKey(Read({{"ORLIMAR_API_KEY", CompiledApiKey()}}), "stored"),
            CompiledApiKey());
  EXPECT_EQ(ChooseApiKey(Read({{"ORLIMAR_API_KEY", ""}}), "stored"), "stored");
  EXPECT_EQ(ChooseApiKey(Read({}), "stored"), "stored");
  EXPECT_EQ(ChooseApiKey(Read({}), ""), CompiledApiKey());
}

TEST(PlatformOptionsReader, DisplayIsNamedByAnyOfItsVariablesWhenNotEmpty) {
  EXPECT_FALSE(Read({}).displayNamed);
  EXPECT_FALSE(Read({{"DISPLAY", ""}}).displayNamed);
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    EXPECT_TRUE(Read({{name, "x"}}).displayNamed) << name;
  }
}

}  // namespace
