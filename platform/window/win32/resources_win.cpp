// The program's strings and icons from the module's own resources; a string
// it lacks may have been registered at start.
#include <map>
#include <string>

#include "platform/window/resources.h"
#include "platform/window/win32/window_win.h"

namespace {

std::map<UINT, std::string>& Strings() {
  static std::map<UINT, std::string> strings;
  return strings;
}

}  // namespace

void RegisterStringResource(UINT id, std::string text) { Strings()[id] = std::move(text); }

bool LoadStringResource(UINT id, std::string& text) {
  const wchar_t* own = nullptr;
  // Length 0 asks for a pointer into the resource itself.
  const int length =
      ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&own), 0);
  if (length > 0) {
    text = Narrow(std::wstring_view(own, static_cast<std::size_t>(length)));
    return true;
  }
  const auto found = Strings().find(id);
  text = found != Strings().end() ? found->second : std::string();
  return found != Strings().end();
}

HICON LoadIconResource(UINT id) {
  // At the system's icon size, the size a dialog's icon static shows.
  return ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}
