// The string table; the icon is built in by the back end's resource tool.
#include "ui/ui_resources.h"

#include "platform/window/resources.h"
#include "ui/resource.h"

void RegisterUiResources() {
  static const bool registered = [] {
    RegisterStringResource(IDS_ABOUTBOX, "&About Orlimar...");
    return true;
  }();
  (void)registered;
}
