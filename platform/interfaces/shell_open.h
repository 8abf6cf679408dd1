// Hands an address to the desktop, which opens it with the user's browser.
#pragma once

#include <string>

class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  // The verb "open". Returns at once; a failure is not reported to the caller.
  virtual void Open(const std::string& address) = 0;
};
