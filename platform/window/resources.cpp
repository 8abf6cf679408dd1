// The program's string and icon resources, by id.
#include "platform/window/resources.h"

#include <map>
#include <memory>

#include "platform/window/window_impl.h"

namespace {

std::map<UINT, std::string>& Strings() {
  static std::map<UINT, std::string> strings;
  return strings;
}

std::map<UINT, std::unique_ptr<HICON__>>& Icons() {
  static std::map<UINT, std::unique_ptr<HICON__>> icons;
  return icons;
}

}  // namespace

void RegisterStringResource(UINT id, std::string text) { Strings()[id] = std::move(text); }

bool LoadStringResource(UINT id, std::string& text) {
  const auto found = Strings().find(id);
  text = found != Strings().end() ? found->second : std::string();
  return found != Strings().end();
}

void RegisterIconResource(UINT id, const char* const* xpm) {
  auto& icon = Icons()[id];
  if (icon == nullptr) icon = std::make_unique<HICON__>();
  icon->images.push_back(xpm);
  icon->icon = QIcon();
}

HICON LoadIconResource(UINT id) {
  const auto found = Icons().find(id);
  return found != Icons().end() ? found->second.get() : nullptr;
}
