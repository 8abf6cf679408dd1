// The program's own resources, loaded by id where the code needs them: strings
// registered at start, icons built into the program with the back end's own
// resource tool.
#pragma once

#include <string>

#include "platform/window/win_types.h"

void RegisterStringResource(UINT id, std::string text);
// False, text emptied, when no string of that id exists.
bool LoadStringResource(UINT id, std::string& text);

// The icon of that id from the back end's own resources (every size of it), or
// nullptr when there is none.
HICON LoadIconResource(UINT id);
