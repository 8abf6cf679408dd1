// Degrees:minutes:seconds text of a decimal angle.
#pragma once

#include <string>

std::string FormatDegreesDms(double degrees);
