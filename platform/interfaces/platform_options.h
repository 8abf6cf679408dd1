// What the program tells its platform back end at start: filled once by app/.
#pragma once

#include <string>

struct PlatformOptions {
  // The maps services' key, as the requests carry it.
  std::string apiKey;
  // Requests for HOST:PORT go to CONNECT_HOST:CONNECT_PORT instead, address and
  // certificate name unchanged: "HOST:PORT:CONNECT_HOST:CONNECT_PORT[,...]".
  // Honoured only by back ends that offer it for tests and diagnostics.
  std::string connectTo;
  // A CA bundle trusted instead of the system's store; empty: the system's.
  std::string caBundle;
  long connectTimeoutMs = 60000;
  // The longest wait for the next bytes of a reply.
  long receiveTimeoutMs = 30000;
  // The folder of the settings file, for back ends that keep one; empty: the
  // back end's own default.
  std::string configFolder;
  // The settings are only read: writes fail and nothing is created (a tool that
  // shows the settings of another program).
  bool readOnlySettings = false;
  // apiKey came from the environment, which goes before a stored key.
  bool apiKeyFromEnvironment = false;
  // The environment names a display for windows (DISPLAY, WAYLAND_DISPLAY or
  // QT_QPA_PLATFORM); without one the window back end cannot start.
  bool displayNamed = false;
};
