// The program's run on Qt: the GUI application exists from before InitInstance to its end.
#include "platform/window/win_app.h"

#include <QApplication>

#include "platform/process/application_name.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

CWinApp* AfxGetApp() { return g_app; }

// A program started from a terminal already writes to it.
void UseParentConsole() {}

bool WindowSystemNeedsDisplay() { return true; }

int AfxWinMain(int argc, char** argv) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  const std::string name = ApplicationName(argc > 0 ? argv[0] : nullptr);
  QApplication qt(argc, argv);
  QCoreApplication::setApplicationName(QString::fromLocal8Bit(name.c_str()));
  // Lets the desktop match the window with the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quenwick.Orlimar"));
  app->m_strAppName = name;
  app->m_argc = argc;
  app->m_argv = argv;
  // The modal dialog's loop inside InitInstance is the only event loop.
  app->InitInstance();
  return 0;
}
