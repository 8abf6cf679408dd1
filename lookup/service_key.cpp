// The maps services' API key: compiled in, or taken from the environment.
#include "lookup/service_key.h"

#include <cstdlib>

#ifndef ORLIMAR_COMPILED_API_KEY
#error "the build passes the compiled key as ORLIMAR_COMPILED_API_KEY"
#endif

std::string ApiKey() {
  const char* fromEnvironment = std::getenv("ORLIMAR_API_KEY");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  return ORLIMAR_COMPILED_API_KEY;
}
