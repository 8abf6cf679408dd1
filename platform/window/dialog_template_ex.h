// A dialog template as the system's dialog manager reads it from memory: an
// extended template (DLGTEMPLATEEX) followed by one extended item per control.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window/dialog_template.h"

// Little-endian bytes; the buffer's start is aligned as new aligns. Control
// ids are written as 32-bit (-1 as 0xFFFFFFFF); the classes BUTTON, EDIT and
// STATIC (and the other predefined ones) as their atoms; an SS_ICON static's
// caption as the ordinal of its icon resource. The dialog sits at 0, 0; with
// DS_SETFONT the font is weight 0, not italic, character set 1 (default).
std::vector<std::uint8_t> BuildDialogTemplateEx(const DialogTemplate& tmpl);
