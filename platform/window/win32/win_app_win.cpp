// The program's run on Windows: common controls, the Restart Manager, the
// command line in UTF-8, and the application object's InitInstance.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/window/win_app.h"
#include "platform/process/application_name.h"
#include "platform/window/win32/window_win.h"

// The C runtime's own split of the wide command line (quotes and
// backslashes as its rules have them); argv of main is in the ANSI code page.
struct _startupinfo;
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int expandWildcards,
                              _startupinfo* info);

namespace {

CWinApp* g_app = nullptr;

struct Arguments {
  std::vector<std::string> texts;
  std::vector<char*> pointers;
};

Arguments& Utf8Arguments() {
  static Arguments arguments;
  return arguments;
}

}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&classes);
  // Restart only: no recovery callback. The restart starts an interactive run.
  ::RegisterApplicationRestart(nullptr, 0);
  return TRUE;
}

CWinApp* AfxGetApp() { return g_app; }

void UseParentConsole() {
  // A program of the GUI subsystem has no standard output of its own unless
  // its starter redirected one; otherwise it writes into the console of the
  // process that started it, when there is one.
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) return;
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (std::freopen("CONOUT$", "w", stdout) != nullptr) std::cout.clear();
  if (std::freopen("CONOUT$", "w", stderr) != nullptr) std::cerr.clear();
}

bool WindowSystemNeedsDisplay() { return false; }

int AfxWinMain(int argc, char** argv) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  const std::string name = ApplicationName(argc > 0 ? argv[0] : nullptr);
  SetMessageBoxTitle(name);
  app->m_strAppName = name;

  Arguments& args = Utf8Arguments();
  int count = 0;
  wchar_t** wide = nullptr;
  wchar_t** environment = nullptr;
  if (__wgetmainargs(&count, &wide, &environment, 0, nullptr) == 0 && wide != nullptr) {
    for (int i = 0; i < count; ++i) args.texts.push_back(Narrow(wide[i]));
  } else {
    for (int i = 0; i < argc; ++i) args.texts.emplace_back(argv[i]);
  }
  for (std::string& text : args.texts) args.pointers.push_back(text.data());
  args.pointers.push_back(nullptr);
  app->m_argc = static_cast<int>(args.texts.size());
  app->m_argv = args.pointers.data();

  // The modal dialog's loop inside InitInstance is the only message loop.
  app->InitInstance();
  return 0;
}
