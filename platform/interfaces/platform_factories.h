// The platform's services, made by whichever back end the build chose.
#pragma once

#include <memory>
#include <string>

#include "platform/interfaces/http_text_source.h"
#include "platform/interfaces/platform_options.h"
#include "platform/interfaces/profile_store.h"
#include "platform/interfaces/shell_open.h"

std::unique_ptr<HttpTextSource> MakeHttpTextSource(const PlatformOptions& options);
// The current user's registry, with profile operations for profileName.
std::unique_ptr<ProfileStore> MakeProfileStore(const PlatformOptions& options,
                                               std::string profileName);
std::unique_ptr<ShellOpener> MakeShellOpener();
