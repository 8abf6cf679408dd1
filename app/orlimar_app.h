// The application object: start-up, the settings it holds for the run, the dialog's run.
#pragma once

#include "platform/window/win_app.h"
#include "settings/settings_store.h"

// AppSettingsState holds m_strRegistryPath, m_szLastLocation and
// m_bCommandLineLocation, which the settings operations and the dialog use.
class COrlimarApp : public CWinApp, public AppSettingsState {
 public:
  COrlimarApp();
  ~COrlimarApp() override;

  // Runs the whole program; returns FALSE, so no further event loop runs.
  BOOL InitInstance() override;
};

extern COrlimarApp theApp;
