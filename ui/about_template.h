// The about box's template.
#pragma once

#include "platform/window/dialog_template.h"

extern const DialogTemplate kAboutBoxTemplate;
