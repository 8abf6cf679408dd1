// Opening an address with the user's browser: ShellExecuteW's "open".
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/interfaces/platform_factories.h"
#include "platform/win32/utf16_win.h"

namespace {

class ShellExecuteOpener : public ShellOpener {
 public:
  void Open(const std::string& address) override {
    // The caller is the dialog's Forecast command, so the thread's active
    // window is the dialog: the owner of any message the shell shows.
    const HWND owner = GetActiveWindow();
    const auto result = reinterpret_cast<std::intptr_t>(
        ShellExecuteW(owner, L"open", Utf16(address).c_str(), nullptr, nullptr, SW_SHOW));
    // 32 and below are failures; the caller is not told, as on every platform.
    if (result <= 32)
      std::fprintf(stderr, "orlimar: the shell could not open the address (%d)\n",
                   static_cast<int>(result));
  }
};

}  // namespace

std::unique_ptr<ShellOpener> MakeShellOpener() { return std::make_unique<ShellExecuteOpener>(); }
