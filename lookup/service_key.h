// The maps services' host and API key.
#pragma once

#include <string>

inline constexpr const char* kMapsHost = "maps.googleapis.com";

// The key compiled in, or ORLIMAR_API_KEY from the environment when set.
std::string ApiKey();
