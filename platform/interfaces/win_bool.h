// The one Windows integer type that the logic and the window layer share.
#pragma once

#include <cstdint>

// Signed 32-bit, 0 is off and any other value is on; no TRUE/FALSE macros here.
using BOOL = std::int32_t;
