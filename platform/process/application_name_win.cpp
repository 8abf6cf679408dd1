// The running executable's path from GetModuleFileNameW, which names the file whatever argv[0] says.
#include <windows.h>

#include <string>

#include "platform/process/application_name.h"
#include "platform/win32/utf16_win.h"

std::string ApplicationName(const char* argv0) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) break;
    // A path that filled the buffer may have been cut short.
    if (n < path.size()) return BaseNameWithoutExtension(Utf8(std::wstring_view(path.data(), n)));
    if (path.size() >= 32768) break;
    path.resize(path.size() * 2);
  }
  return BaseNameWithoutExtension(argv0 ? argv0 : "");
}
