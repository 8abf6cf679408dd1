// The main dialog's template.
#pragma once

#include "platform/window/dialog_template.h"

extern const DialogTemplate kMainDialogTemplate;
