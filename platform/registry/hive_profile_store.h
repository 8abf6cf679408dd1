// The current user's registry as a REGEDIT4 hive file of our own.
#pragma once

#include <memory>
#include <string>

#include "platform/registry/system_calls.h"
#include "settings/profile_store.h"

// ${XDG_CONFIG_HOME:-$HOME/.config}/Quenwick Software/registry.reg
std::string DefaultHivePath();

// The store on the current user's hive file.
std::unique_ptr<ProfileStore> MakeHiveProfileStore(std::string profileName);
// The same file, only read: every write fails with kAccessDenied and nothing is created.
std::unique_ptr<ProfileStore> MakeReadOnlyHiveProfileStore(std::string profileName);
// The store on the given file, through the given calls (tests fail them).
std::unique_ptr<ProfileStore> MakeHiveProfileStore(std::string profileName, std::string filePath,
                                                   SystemCalls& calls = RealSystemCalls());
