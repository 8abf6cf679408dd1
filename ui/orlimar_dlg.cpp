// The main dialog's set-up, data exchange and handlers.
#include "ui/orlimar_dlg.h"

#include <cstring>

#include "lookup/elevation.h"
#include "platform/interfaces/shell_open.h"
#include "platform/window/resources.h"
#include "settings/settings_store.h"
#include "ui/about_dialog.h"
#include "ui/main_dialog_template.h"
#include "ui/resource.h"
#include "ui/ui_resources.h"

COrlimarDlg::COrlimarDlg(HttpTextSource& http, ShellOpener& shell, ProfileStore& store,
                         AppSettingsState& settings, CWnd* parent)
    : CDialogEx(kMainDialogTemplate, parent),
      m_hIcon((RegisterUiResources(), LoadIconResource(IDR_MAINFRAME))),
      m_dElevationFactor(kFeetPerMeter),
      m_bSaveTouched(FALSE),
      m_nSeries(0),
      m_bDewPoint(FALSE),
      m_bPrecipitationPotential(FALSE),
      m_bRelativeHumidity(FALSE),
      m_bSkyCover(FALSE),
      m_bSurfaceWinds(FALSE),
      m_bTemperature(FALSE),
      m_bWindChill(FALSE),
      m_bRain(FALSE),
      m_bThunder(FALSE),
      m_bSnow(FALSE),
      m_bFreezingRain(FALSE),
      m_bSleet(FALSE),
      m_http(http),
      m_shell(shell),
      m_store(store),
      m_settings(settings) {}

COrlimarDlg::~COrlimarDlg() = default;

const MessageMap* COrlimarDlg::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      MapMessage(WM_PAINT, &COrlimarDlg::OnPaint),
      MapMessage(WM_QUERYDRAGICON, &COrlimarDlg::OnQueryDragIcon),
      MapEnChange(IDC_LOCATION, &COrlimarDlg::OnEnChangeLocation),
      MapBnClicked(IDC_UNITS, &COrlimarDlg::OnBnClickedUnits),
      MapBnClicked(IDC_FORECAST, &COrlimarDlg::OnForecast),
      MapMessage(WM_AUTO_FORECAST, &COrlimarDlg::OnAutoForecast),
      MapBnClicked(IDC_SAVE_LOCATION, &COrlimarDlg::OnBnClickedSaveLocation),
      MapBnClicked(IDC_TEMPERATURE, &COrlimarDlg::OnBnClickedTemperature),
      MapBnClicked(IDCANCEL, &COrlimarDlg::OnBnClickedExit),
  };
  static const MessageMap map{CDialogEx::GetThisMessageMap(), entries, std::size(entries)};
  return &map;
}

void COrlimarDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_LOCATION, m_editLocation);
  DDX_Control(pDX, IDC_LATITUDE, m_editLatitude);
  DDX_Control(pDX, IDC_LONGITUDE, m_editLongitude);
  DDX_Control(pDX, IDC_LATITUDE_DMS, m_editLatitudeDms);
  DDX_Control(pDX, IDC_LONGITUDE_DMS, m_editLongitudeDms);
  DDX_Control(pDX, IDC_ELEVATION, m_editElevation);
  DDX_Control(pDX, IDC_UNITS, m_btnUnits);
  DDX_Control(pDX, IDC_ADDRESS, m_editAddress);
  DDX_Control(pDX, IDC_SAVE_LOCATION, m_chkSaveLocation);
  DDX_Check(pDX, IDC_DEW_POINT, m_bDewPoint);
  DDX_Check(pDX, IDC_PRECIP_POTENTIAL, m_bPrecipitationPotential);
  DDX_Check(pDX, IDC_RELATIVE_HUMIDITY, m_bRelativeHumidity);
  DDX_Check(pDX, IDC_SKY_COVER, m_bSkyCover);
  DDX_Check(pDX, IDC_SURFACE_WINDS, m_bSurfaceWinds);
  DDX_Check(pDX, IDC_TEMPERATURE, m_bTemperature);
  DDX_Check(pDX, IDC_WIND_CHILL, m_bWindChill);
  DDX_Check(pDX, IDC_RAIN, m_bRain);
  DDX_Check(pDX, IDC_THUNDER, m_bThunder);
  DDX_Check(pDX, IDC_SNOW, m_bSnow);
  DDX_Check(pDX, IDC_FREEZING_RAIN, m_bFreezingRain);
  DDX_Check(pDX, IDC_SLEET, m_bSleet);
}

BOOL COrlimarDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();

  AddAboutBoxMenuEntry(*this);

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  NameUnitsButton();

  for (const WeatherSeries& row : kWeatherSeries) {
    FlagOf(*this, row.id) = FlagOf(thePreferences, row.id);
  }
  UpdateData(FALSE);
  EnableTemperatureDependents();

  const std::string lastLocation(m_settings.m_szLastLocation,
                                 strnlen(m_settings.m_szLastLocation, kLastLocationSize));
  if (!m_strStartLocation.empty()) {
    m_editLocation.SetWindowText(m_strStartLocation);
    PostMessage(WM_AUTO_FORECAST, 0, 0);
  } else if (!lastLocation.empty()) {
    // The text first: its EN_CHANGE unticks the box.
    m_editLocation.SetWindowText(lastLocation);
    m_chkSaveLocation.SendMessage(BM_SETCHECK, BST_CHECKED);
  }
  return TRUE;
}

void COrlimarDlg::NameUnitsButton() {
  // "feet" alone tells a screen reader's user neither what the button is nor what it does.
  m_btnUnits.SetAccessibleName("Elevation unit: " + m_btnUnits.GetWindowText());
}

void COrlimarDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if (!OpenAboutBoxFor(id)) CDialogEx::OnSysCommand(id, lParam);
}

// Minimised, the dialog shows its icon, centred in what is left of the client
// area; otherwise the dialog paints as any dialog.
LRESULT COrlimarDlg::OnPaint(WPARAM wParam, LPARAM lParam) {
  if (!IsIconic()) return CDialogEx::DefWindowProc(WM_PAINT, wParam, lParam);
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  const int cxIcon = GetSystemMetrics(SM_CXICON);
  const int cyIcon = GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  const int x = (rect.right - rect.left - cxIcon + 1) / 2;
  const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
  return 0;
}

// The cursor shown while the minimised window is dragged.
LRESULT COrlimarDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

void COrlimarDlg::OnOK() {
  RunLookup(*this, m_http, m_settings.m_strApiKey,
            HeldResult{m_strLatitude, m_strLongitude, m_strElevation});
}

void COrlimarDlg::OnEnChangeLocation() {
  if (!m_bSaveTouched) m_chkSaveLocation.SendMessage(BM_SETCHECK, BST_UNCHECKED);
}

void COrlimarDlg::OnBnClickedUnits() {
  if (m_btnUnits.GetWindowText() == "feet") {
    m_btnUnits.SetWindowText("meters");
    m_dElevationFactor = kMetersPerMeter;
  } else {
    m_btnUnits.SetWindowText("feet");
    m_dElevationFactor = kFeetPerMeter;
  }
  NameUnitsButton();
  ShowElevation();
  // The click made the button look default; Look up is the default again.
  m_btnUnits.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessage(DM_SETDEFID, IDOK);
  if (m_strLatitude.empty() || m_strLongitude.empty()) {
    GetDlgItem(IDOK)->SetFocus();
  } else {
    MoveFocusTo(IDC_FORECAST);
  }
}

void COrlimarDlg::OnForecast() {
  RunForecast(*this, HeldCoordinates{m_strLatitude, m_strLongitude});
}

LRESULT COrlimarDlg::OnAutoForecast(WPARAM, LPARAM) {
  OnForecast();
  PostMessage(WM_CLOSE, 0, 0);
  return 0;
}

void COrlimarDlg::OnBnClickedSaveLocation() { m_bSaveTouched = TRUE; }

void COrlimarDlg::OnBnClickedTemperature() {
  UpdateData(TRUE);
  EnableTemperatureDependents();
}

void COrlimarDlg::OnBnClickedExit() {
  SavePreferences();
  CDialogEx::OnCancel();
}

void COrlimarDlg::SavePreferences() {
  UpdateData(TRUE);
  SaveChangedPreferences(m_store, *this);
}

void COrlimarDlg::ShowElevation() {
  m_editElevation.SetWindowText(FormatElevation(m_strElevation, m_dElevationFactor));
}

void COrlimarDlg::AddSeriesCode(const std::string& code) {
  if (m_nSeries < static_cast<int>(m_astrSeries.size())) m_astrSeries[m_nSeries++] = code;
}

void COrlimarDlg::EnableTemperatureDependents() {
  GetDlgItem(IDC_DEW_POINT)->EnableWindow(m_bTemperature);
  GetDlgItem(IDC_WIND_CHILL)->EnableWindow(m_bTemperature);
}

void COrlimarDlg::MoveFocusTo(int id) {
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(id)->GetSafeHwnd()), TRUE);
}

CEdit& COrlimarDlg::FieldEdit(LookupField field) {
  switch (field) {
    case LookupField::Address:
      return m_editAddress;
    case LookupField::Latitude:
      return m_editLatitude;
    case LookupField::Longitude:
      return m_editLongitude;
    case LookupField::Elevation:
      return m_editElevation;
    case LookupField::LatitudeDms:
      return m_editLatitudeDms;
    case LookupField::LongitudeDms:
      break;
  }
  return m_editLongitudeDms;
}

void COrlimarDlg::SetFieldText(LookupField field, const std::string& text) {
  FieldEdit(field).SetWindowText(text);
}

void COrlimarDlg::RepaintField(LookupField field) { FieldEdit(field).UpdateWindow(); }

std::string COrlimarDlg::GetLocationText() { return m_editLocation.GetWindowText(); }

bool COrlimarDlg::IsSaveLocationTicked() {
  return m_chkSaveLocation.SendMessage(BM_GETCHECK) != BST_UNCHECKED;
}

void COrlimarDlg::WriteLastLocation(const std::string& text) {
  ::WriteLastLocation(m_store, m_settings, text);
}

void COrlimarDlg::MoveFocusToForecast() { MoveFocusTo(IDC_FORECAST); }

void COrlimarDlg::ShowMessage(const std::string& text) { AfxMessageBox(text); }

void COrlimarDlg::LookUp() { OnOK(); }

bool COrlimarDlg::IsSeriesTicked(SeriesId id) { return FlagOf(*this, id) != 0; }

void COrlimarDlg::ClearSeriesCodes() { m_nSeries = 0; }

std::span<const std::string> COrlimarDlg::SeriesCodes() {
  return {m_astrSeries.data(), static_cast<std::size_t>(m_nSeries)};
}

void COrlimarDlg::OpenInShell(const std::string& address) { m_shell.Open(address); }

void COrlimarDlg::MoveFocusToLocation() { MoveFocusTo(IDC_LOCATION); }
