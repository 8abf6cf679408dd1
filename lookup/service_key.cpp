// The maps services' API key compiled in.
#include "lookup/service_key.h"

#ifndef ORLIMAR_COMPILED_API_KEY
#error "the build passes the compiled key as ORLIMAR_COMPILED_API_KEY"
#endif

std::string CompiledApiKey() { return ORLIMAR_COMPILED_API_KEY; }
