// The main dialog: the program's one window and every command the user gives.
#pragma once

#include <array>
#include <string>

#include "forecast/forecast_command.h"
#include "lookup/lookup_sequence.h"
#include "platform/window/dialog.h"
#include "settings/preferences.h"

class HttpTextSource;
class ProfileStore;
class ShellOpener;
struct AppSettingsState;

// Posted to itself by a command-line run, once the dialog is initialised.
inline constexpr UINT WM_AUTO_FORECAST = WM_APP + 2000;

class COrlimarDlg : public CDialogEx, private LookupView, private ForecastView {
 public:
  // The services and stores the commands use; all must outlive the dialog.
  COrlimarDlg(HttpTextSource& http, ShellOpener& shell, ProfileStore& store,
              AppSettingsState& settings, CWnd* parent = nullptr);
  ~COrlimarDlg() override;

  std::string m_strStartLocation;  // from the command line; set before DoModal
  HICON m_hIcon;
  double m_dElevationFactor;  // meters to the unit the units button names
  std::string m_strElevation;
  std::string m_strLatitude;
  std::string m_strLongitude;
  BOOL m_bSaveTouched;
  CEdit m_editLocation;
  CEdit m_editLatitude;
  CEdit m_editLongitude;
  CEdit m_editLatitudeDms;
  CEdit m_editLongitudeDms;
  CEdit m_editElevation;
  int m_nSeries;
  CButton m_btnUnits;
  CEdit m_editAddress;
  CButton m_chkSaveLocation;
  std::array<std::string, 64> m_astrSeries;
  BOOL m_bDewPoint;
  BOOL m_bPrecipitationPotential;
  BOOL m_bRelativeHumidity;
  BOOL m_bSkyCover;
  BOOL m_bSurfaceWinds;
  BOOL m_bTemperature;
  BOOL m_bWindChill;
  BOOL m_bRain;
  BOOL m_bThunder;
  BOOL m_bSnow;
  BOOL m_bFreezingRain;
  BOOL m_bSleet;

  // Check boxes into the flags, then each changed flag written.
  void SavePreferences() override;
  void ShowElevation() override;
  void AddSeriesCode(const std::string& code) override;
  void OnSysCommand(UINT id, LPARAM lParam) override;

 protected:
  const MessageMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Look up.
  void OnOK() override;

  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  void OnEnChangeLocation();
  void OnBnClickedUnits();
  void OnForecast();
  LRESULT OnAutoForecast(WPARAM, LPARAM);
  void OnBnClickedSaveLocation();
  void OnBnClickedTemperature();
  void OnBnClickedExit();

 private:
  void EnableTemperatureDependents();
  // The units button's name for assistive technology, from its caption.
  void NameUnitsButton();
  CEdit& FieldEdit(LookupField field);
  void MoveFocusTo(int id);

  // LookupView
  void SetFieldText(LookupField field, const std::string& text) override;
  void RepaintField(LookupField field) override;
  std::string GetLocationText() override;
  bool IsSaveLocationTicked() override;
  void WriteLastLocation(const std::string& text) override;
  void MoveFocusToForecast() override;
  void ShowMessage(const std::string& text) override;

  // ForecastView
  void LookUp() override;
  bool IsSeriesTicked(SeriesId id) override;
  void ClearSeriesCodes() override;
  std::span<const std::string> SeriesCodes() override;
  void OpenInShell(const std::string& address) override;
  void MoveFocusToLocation() override;

  HttpTextSource& m_http;
  ShellOpener& m_shell;
  ProfileStore& m_store;
  AppSettingsState& m_settings;
};
