// The running executable's path from /proc, which names the file even when argv[0] does not.
#include <unistd.h>

#include <climits>

#include "platform/process/application_name.h"

std::string ApplicationName(const char* argv0) {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) return BaseNameWithoutExtension(std::string_view(path, static_cast<std::size_t>(n)));
  return BaseNameWithoutExtension(argv0 ? argv0 : "");
}
