// Locale-independent stand-ins for atof and printf's "%lf": the program's
// numbers never follow the user's decimal comma.
#pragma once

#include <string>
#include <string_view>

double AtofC(std::string_view text);
// printf("%.*f") in the C locale.
std::string FormatFixed(double value, int decimals);
