// Inside the window layer: the Qt widgets behind windows and dialogs.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/dialog.h"

enum class WindowKind { Dialog, Edit, MultiLineEdit, PushButton, CheckBox, GroupBox, Static };

struct HWND__ {
  QPointer<QWidget> widget;
  WindowKind kind = WindowKind::Static;
  int id = -1;
  std::uint32_t style = 0;
  DialogState* dialog = nullptr;  // the dialog it belongs to, or is
  std::unique_ptr<CWnd> wrapper;  // what GetDlgItem hands out
  std::vector<CWnd*> attached;    // window objects bound to it
};

struct HICON__ {
  QString folder;  // its images in the resource system, one file a size
  QIcon icon;      // built on first use: pixmaps need the running application
  const QIcon& Get();
};

struct CMenu::Impl {
  QMenu menu;
};

// Sends a message to a window's procedure: the dialog's message map, or the
// control's built-in handling.
LRESULT DispatchToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The same from an event of the platform: an exception that leaves the
// handler is reported in a message box, and the dialog goes on.
void DeliverFromEventLoop(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void AttachWindow(CWnd& wnd, HWND hwnd);
void DetachWindow(CWnd& wnd);
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

class DialogWidget : public QDialog {
 public:
  explicit DialogWidget(DialogState& state, QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void reject() override;

 private:
  friend struct DialogState;
  bool HandleDialogKey(QKeyEvent* event);
  DialogState& m_state;
};

struct DialogState {
  DialogState(CDialog& owner, const DialogTemplate& tmpl, QWidget* parent);
  ~DialogState();

  HWND Find(int id) const;
  HWND FindWidget(const QWidget* widget) const;
  void SetDefId(int id);
  // The dialog manager's focus move: edits get their text selected.
  void FocusControl(HWND control);
  void FocusFirstTabStop();
  // A focused push button looks default and is what Enter presses;
  // otherwise the default id's button is.
  void UpdateDefaultLook(const QWidget* focus);
  void PressButton(int id);
  void ShowSystemMenu(const QPoint& globalPos);
  void MapDialogRect(RECT& rect) const;

  CDialog& owner;
  HWND__ self;
  std::vector<std::unique_ptr<HWND__>> controls;
  DialogWidget* widget = nullptr;
  CMenu systemMenu;
  int defId = IDOK;
  int result = 0;
  bool ended = false;
  int baseX = 0, baseY = 0;

 private:
  void Build(const DialogTemplate& tmpl);
  void Notify(const HWND__& control, UINT code);
  QWidget* MakeEdit(const DialogControl& c, HWND__& record);
  QWidget* MakeButton(const DialogControl& c, HWND__& record);
  QWidget* MakeStatic(const DialogControl& c, HWND__& record);
  void WidenClippedCaptions();
  void NameEditsByLabels(const DialogTemplate& tmpl);
};

// The dialogs now running, innermost last: owners of message boxes.
QWidget* RunningDialogWidget();
