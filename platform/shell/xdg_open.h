// Opening addresses through xdg-open.
#pragma once

#include "platform/interfaces/shell_open.h"

class XdgOpenShell : public ShellOpener {
 public:
  // Starts "xdg-open ADDRESS" (found on PATH) with no shell between, without
  // waiting for it; a failure to start writes one line to standard error.
  void Open(const std::string& address) override;
};
