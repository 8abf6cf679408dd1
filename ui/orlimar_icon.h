// The program's icon images.
#pragma once

extern const char* const kOrlimarIcon48[];
extern const char* const kOrlimarIcon32[];
extern const char* const kOrlimarIcon16[];
