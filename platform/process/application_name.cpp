// Cutting a program's name out of its path.
#include "platform/process/application_name.h"

std::string BaseNameWithoutExtension(std::string_view path) {
  std::size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot != 0) name = name.substr(0, dot);
  return std::string(name);
}
