// IDD_MAIN_DIALOG: "Orlimar - NWS Point Forecast", its controls in tab order.
#include "ui/main_dialog_template.h"

#include "platform/window/win_types.h"
#include "ui/resource.h"

namespace {

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr std::uint32_t kReadOnly = kChild | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL;
constexpr std::uint32_t kReadOnlyMulti = kReadOnly | ES_MULTILINE;
constexpr std::uint32_t kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr std::uint32_t kDefault = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr std::uint32_t kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kUntabbedPush = kChild | BS_PUSHBUTTON;
constexpr std::uint32_t kGroup = kChild | BS_GROUPBOX;
constexpr std::uint32_t kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr std::uint32_t kHeading = kChild | WS_GROUP | SS_CENTER;

constexpr DialogControl kControls[] = {
    {IDC_LOCATION, "EDIT", kEdit, 57, 18, 313, 12, ""},
    {IDC_SAVE_LOCATION, "BUTTON", kCheck, 220, 36, 65, 11, "Save location"},
    {IDOK, "BUTTON", kDefault, 320, 34, 50, 14, "&Look up"},
    {IDC_ADDRESS, "EDIT", kReadOnlyMulti, 57, 55, 313, 28, ""},
    {IDC_LATITUDE, "EDIT", kReadOnly, 57, 110, 64, 12, ""},
    {IDC_LONGITUDE, "EDIT", kReadOnly, 57, 128, 64, 12, ""},
    {IDC_ELEVATION, "EDIT", kReadOnly, 57, 152, 64, 12, ""},
    {IDC_UNITS, "BUTTON", kUntabbedPush, 128, 152, 30, 12, "feet"},
    {IDC_TEMPERATURE, "BUTTON", kCheck, 215, 100, 57, 11, "&Temperature"},
    {IDC_WIND_CHILL, "BUTTON", kCheck, 227, 111, 57, 11, "Wind &chill"},
    {IDC_DEW_POINT, "BUTTON", kCheck, 227, 122, 57, 11, "&Dew point"},
    {IDC_SKY_COVER, "BUTTON", kCheck, 215, 133, 65, 11, "S&ky cover"},
    {IDC_PRECIP_POTENTIAL, "BUTTON", kCheck, 215, 144, 70, 11, "&Precip Potential"},
    {IDC_RELATIVE_HUMIDITY, "BUTTON", kCheck, 215, 155, 70, 11, "Relative &humidity"},
    {IDC_SURFACE_WINDS, "BUTTON", kCheck, 299, 100, 60, 11, "Surface &winds"},
    {IDC_RAIN, "BUTTON", kCheck, 299, 111, 57, 11, "&Rain"},
    {IDC_THUNDER, "BUTTON", kCheck, 299, 122, 57, 11, "&Thunder"},
    {IDC_SNOW, "BUTTON", kCheck, 299, 133, 57, 11, "&Snow"},
    {IDC_FREEZING_RAIN, "BUTTON", kCheck, 299, 144, 60, 11, "&Freezing rain"},
    {IDC_SLEET, "BUTTON", kCheck, 299, 155, 60, 11, "Sl&eet"},
    {IDC_FORECAST, "BUTTON", kPush, 263, 178, 48, 14, "&Forecast"},
    {IDCANCEL, "BUTTON", kPush, 320, 178, 50, 14, "E&xit"},
    {-1, "STATIC", kLabel, 16, 12, 37, 32, "Name,\nAddress,\nLat/Lon or\nZip code"},
    {-1, "STATIC", kLabel, 16, 112, 31, 11, "Latitude"},
    {-1, "STATIC", kLabel, 16, 130, 36, 11, "Longitude"},
    {-1, "STATIC", kLabel, 16, 154, 31, 11, "Elevation"},
    {-1, "STATIC", kLabel, 16, 57, 31, 10, "Address"},
    {IDC_LATITUDE_DMS, "EDIT", kReadOnly, 122, 110, 64, 12, ""},
    {IDC_LONGITUDE_DMS, "EDIT", kReadOnly, 125, 128, 64, 12, ""},
    {-1, "STATIC", kHeading, 64, 98, 50, 8, "Degrees"},
    {-1, "STATIC", kHeading, 129, 98, 50, 8, "Deg:Min:Sec"},
    {-1, "BUTTON", kGroup, 7, 88, 188, 84, "Location"},
    {-1, "BUTTON", kGroup, 205, 88, 165, 84, "Weather conditions to display"},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{
    IDD_MAIN_DIALOG,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT | DS_FIXEDSYS,
    WS_EX_APPWINDOW,
    377,
    199,
    "Orlimar - NWS Point Forecast",
    "MS Shell Dlg",
    8,
    kControls,
};
