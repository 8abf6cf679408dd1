// The program's own resources (strings and icons), registered by id at start
// and loaded by id where the code needs them.
#pragma once

#include <string>

#include "platform/window/win_types.h"

void RegisterStringResource(UINT id, std::string text);
// False, text emptied, when no string of that id exists.
bool LoadStringResource(UINT id, std::string& text);

// xpm: the image as XPM text rows; several calls with one id add sizes.
void RegisterIconResource(UINT id, const char* const* xpm);
// nullptr when no icon of that id exists.
HICON LoadIconResource(UINT id);
