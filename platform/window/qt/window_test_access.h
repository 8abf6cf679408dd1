// For Qt Test only: the widgets behind windows, and a modal run that returns
// to the test instead of blocking in its own event loop.
#pragma once

#include <vector>

#include "platform/window/dialog.h"

class QWidget;
class QMenu;

struct WindowTestAccess {
  // The dialog's window or a control's widget; nullptr when not created.
  static QWidget* Widget(const CWnd& wnd);
  static QWidget* Control(const CDialog& dialog, int id);
  // Every control in template order.
  static std::vector<QWidget*> Controls(const CDialog& dialog);
  static QMenu* SystemMenu(const CDialog& dialog);

  // What DoModal does up to its event loop: the test's loop then runs it.
  static void BeginModal(CDialog& dialog);
  static bool HasEnded(const CDialog& dialog);
  static int Result(const CDialog& dialog);
  // Destroys the window as DoModal does on its return.
  static void EndModal(CDialog& dialog);
};
