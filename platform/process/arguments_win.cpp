// The arguments on Windows: the UTF-16 command line split as the C runtime splits it.
#include <windows.h>
#include <shellapi.h>

#include "platform/process/arguments.h"
#include "platform/win32/utf16_win.h"

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}
