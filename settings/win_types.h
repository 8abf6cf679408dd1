// The Windows integer types the settings code and its callers share.
#pragma once

#include <cstdint>

// Signed 32-bit, 0 is off and any other value is on; no TRUE/FALSE macros.
using BOOL = std::int32_t;
