// The current user's registry as a REGEDIT4 hive file of our own (POSIX).
#pragma once

#include <memory>
#include <string>

#include "platform/interfaces/profile_store.h"
#include "platform/registry/system_calls_unix.h"

// CONFIG/Quenwick Software/registry.reg; with no CONFIG given, the .config
// folder of the user's home as the password database names it.
std::string HivePathIn(const std::string& configFolder);

// The store on the given file, through the given calls (tests fail them).
std::unique_ptr<ProfileStore> MakeHiveProfileStore(std::string profileName, std::string filePath,
                                                   SystemCalls& calls = RealSystemCalls());
