// The program's strings, by id, and its icons from Qt's resource system.
#include "platform/window/resources.h"

#include <QDir>
#include <map>
#include <memory>

#include "platform/window/qt/window_impl_qt.h"

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

HICON LoadIconResource(UINT id) {
  auto& icon = Icons()[id];
  if (icon == nullptr) {
    // Every image in the resource folder named after the id is one size of it.
    const QString folder = QStringLiteral(":/icons/%1").arg(id);
    if (!QDir(folder).exists()) return nullptr;
    icon = std::make_unique<HICON__>();
    icon->folder = folder;
  }
  return icon.get();
}
