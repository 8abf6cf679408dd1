// The string table and the icon.
#include "ui/ui_resources.h"

#include "platform/window/resources.h"
#include "ui/orlimar_icon.h"
#include "ui/resource.h"

void RegisterUiResources() {
  static const bool registered = [] {
    RegisterStringResource(IDS_ABOUTBOX, "&About Orlimar...");
    RegisterIconResource(IDR_MAINFRAME, kOrlimarIcon48);
    RegisterIconResource(IDR_MAINFRAME, kOrlimarIcon32);
    RegisterIconResource(IDR_MAINFRAME, kOrlimarIcon16);
    return true;
  }();
  (void)registered;
}
