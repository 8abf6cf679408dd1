// Registers the program's strings with the window layer.
#pragma once

// Safe to call more than once.
void RegisterUiResources();
