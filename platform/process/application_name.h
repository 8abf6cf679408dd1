// The application's name: the base name of the running executable, extension removed.
#pragma once

#include <string>
#include <string_view>

// "/usr/bin/Orlimar" -> "Orlimar", "C:\\bin\\Orlimar.exe" -> "Orlimar". A name that is
// only an extension (".hidden") is kept whole.
std::string BaseNameWithoutExtension(std::string_view path);

// Taken from the executable the system reports for this process; argv0 when
// that cannot be had (it may be relative or a bare name).
std::string ApplicationName(const char* argv0);
