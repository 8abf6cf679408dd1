// The one place that reads the environment: the run-time knobs, into the platform options.
#pragma once

#include <functional>
#include <string>

#include "platform/interfaces/platform_options.h"

// A variable's value, or nullptr when it is not set (std::getenv's contract).
using EnvironmentLookup = std::function<const char*(const char*)>;

// ORLIMAR_API_KEY (when not empty; else the compiled key), ORLIMAR_CONNECT_TO,
// ORLIMAR_CA_BUNDLE, ORLIMAR_CONNECT_TIMEOUT_MS and ORLIMAR_RECEIVE_TIMEOUT_MS
// (positive whole numbers; else the defaults), and the configuration folder:
// $XDG_CONFIG_HOME, else $HOME/.config, each only when absolute; whether a
// display is named (DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM not empty).
PlatformOptions ReadPlatformOptions(const EnvironmentLookup& getenv);

// The key the requests carry: ORLIMAR_API_KEY when set and not empty, else the
// stored key when not empty, else the compiled key.
std::string ChooseApiKey(const PlatformOptions& options, const std::string& storedKey);
