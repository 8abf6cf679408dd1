// The one holder of the display flags.
#include "settings/preferences.h"

CPreferences::~CPreferences() = default;

CPreferences thePreferences;
