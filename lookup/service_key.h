// The maps services' host and the API key compiled in.
#pragma once

#include <string>

inline constexpr const char* kMapsHost = "maps.googleapis.com";

// The key the build compiled in (a placeholder of the right shape when none was given).
std::string CompiledApiKey();
