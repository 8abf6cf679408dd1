// The application object's platform side: one per program, run by AfxWinMain.
#pragma once

#include <string>

#include "platform/window/wnd.h"

class CWinApp {
 public:
  // Registers this object as the program's one application (AfxGetApp).
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Returning FALSE ends the program without an event loop of its own.
  virtual BOOL InitInstance();

  // The executable's base name without extension; set before InitInstance.
  std::string m_strAppName;
  // The running dialog, while it runs; message boxes are owned by it.
  CWnd* m_pMainWnd = nullptr;
  // The program's arguments (argv[0] its own path) less the toolkit's own
  // options such as -platform NAME, which the toolkit has taken.
  int m_argc = 0;
  char** m_argv = nullptr;
};

CWinApp* AfxGetApp();

// Lets standard output reach the console the program was started from, where
// the system gives a windowed program none of its own. Before any output.
void UseParentConsole();

// Whether windows need a display that the environment or the command line
// names (X11, Wayland); Windows' desktop is always there.
bool WindowSystemNeedsDisplay();

// Starts the toolkit on this display, names the application (message box
// titles) after the executable and runs the application object's
// InitInstance. Returns the process's exit status.
int AfxWinMain(int argc, char** argv);
