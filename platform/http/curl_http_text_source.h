// The HTTP text source over libcurl: one connection per session, lines as they arrive.
#pragma once

#include <memory>

#include "platform/interfaces/http_text_source.h"

// Reads its run-time knobs (ORLIMAR_CONNECT_TO, ORLIMAR_CA_BUNDLE and the time-out
// test knobs) from the environment each time a session opens.
std::unique_ptr<HttpTextSource> MakeCurlHttpTextSource();
