// IDD_ABOUTBOX: "About Orlimar", the icon, the version line, the notice of rights and OK.
#include "ui/about_template.h"

#include "platform/window/win_types.h"
#include "ui/resource.h"

namespace {

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;

// The icon static's caption names the icon resource, IDR_MAINFRAME.
constexpr DialogControl kControls[] = {
    {-1, "STATIC", kChild | SS_ICON | SS_REALSIZEIMAGE, 16, 14, 21, 20, "128"},
    {-1, "STATIC", kChild | WS_GROUP | SS_CENTER | SS_NOPREFIX, 42, 14, 114, 8,
     "Orlimar    Version 1.00.002"},
    {-1, "STATIC", kChild | WS_GROUP | SS_CENTER, 42, 26, 114, 29,
     "Copyright (c) 2026\nQuenwick Software\nMIT License"},
    {IDOK, "BUTTON", kChild | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 114, 66, 50, 14, "OK"},
};

}  // namespace

const DialogTemplate kAboutBoxTemplate{
    IDD_ABOUTBOX,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS,
    0,
    171,
    87,
    "About Orlimar",
    "MS Shell Dlg",
    8,
    kControls,
};
