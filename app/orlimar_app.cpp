// Start-up in its fixed order: settings, command line, then the dialog until it ends.
#include "app/orlimar_app.h"

#include <cstdlib>
#include <memory>

#include "app/command_line.h"
#include "app/platform_options_reader.h"
#include "platform/interfaces/platform_factories.h"
#include "ui/orlimar_dlg.h"

COrlimarApp theApp;

COrlimarApp::COrlimarApp() = default;

COrlimarApp::~COrlimarApp() = default;

BOOL COrlimarApp::InitInstance() {
  // Common controls, shell manager and visual manager have nothing to prepare
  // here: the Qt application made before this call is the whole platform set-up.
  CWinApp::InitInstance();

  PlatformOptions options = ReadPlatformOptions(std::getenv);
  std::unique_ptr<ProfileStore> store = MakeProfileStore(options, m_strAppName);
  SetUpRegistry(*store, *this);
  // A program started from the desktop's menu sees no ORLIMAR_API_KEY: the stored key serves it.
  options.apiKey = ChooseApiKey(options, ReadApiKey(*store, *this));
  m_strApiKey = options.apiKey;
  LoadPreferences(*store);
  // Also in a command-line run, which then neither shows nor changes it.
  ReadLastLocation(*store, *this);

  const CCommandLineInfo cmdInfo = ParseCommandLine(ArgumentsAfterName(m_argc, m_argv));

  std::unique_ptr<HttpTextSource> http = MakeHttpTextSource(options);
  std::unique_ptr<ShellOpener> shell = MakeShellOpener();
  COrlimarDlg dlg(*http, *shell, *store, *this);
  if (!cmdInfo.m_strFileName.empty()) {
    dlg.m_strStartLocation = cmdInfo.m_strFileName;
    m_bCommandLineLocation = TRUE;
  }

  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}
