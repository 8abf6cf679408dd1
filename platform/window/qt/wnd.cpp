// Windows and controls on Qt widgets; message routing through message maps.
#include "platform/window/wnd.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "platform/window/qt/window_impl_qt.h"

QString ToQString(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) { return text.toLocal8Bit().toStdString(); }

void AttachWindow(CWnd& wnd, HWND hwnd) {
  wnd.m_hWnd = hwnd;
  hwnd->attached.push_back(&wnd);
}

void DetachWindow(CWnd& wnd) {
  if (wnd.m_hWnd == nullptr) return;
  auto& list = wnd.m_hWnd->attached;
  list.erase(std::remove(list.begin(), list.end(), &wnd), list.end());
  wnd.m_hWnd = nullptr;
}

namespace {

LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  auto* button = qobject_cast<QAbstractButton*>(hwnd->widget.data());
  switch (message) {
    case BM_GETCHECK:
      if (auto* box = qobject_cast<QCheckBox*>(button)) {
        // Qt numbers the states differently (Checked is 2).
        switch (box->checkState()) {
          case Qt::Checked:
            return BST_CHECKED;
          case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
          case Qt::Unchecked:
            break;
        }
      }
      return BST_UNCHECKED;
    case BM_SETCHECK:
      if (auto* box = qobject_cast<QCheckBox*>(button)) {
        // Set by the program, not changed by the user: no click notification.
        const QSignalBlocker quiet(box);
        // A two-state box shows any state but unchecked as checked.
        box->setCheckState(wParam == BST_UNCHECKED                            ? Qt::Unchecked
                           : wParam == BST_INDETERMINATE && box->isTristate() ? Qt::PartiallyChecked
                                                                              : Qt::Checked);
      }
      return 0;
    case BM_SETSTYLE:
      if (auto* push = qobject_cast<QPushButton*>(button)) {
        push->setDefault((wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace

LRESULT DispatchToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == nullptr) return 0;
  if (hwnd->kind == WindowKind::Dialog) {
    return static_cast<CWnd&>(hwnd->dialog->owner).WindowProc(message, wParam, lParam);
  }
  return ControlProc(hwnd, message, wParam, lParam);
}

CMenu::CMenu() : impl(std::make_unique<Impl>()) {}
CMenu::~CMenu() = default;

BOOL CMenu::AppendMenu(UINT flags, UINT id, const char* text) {
  if (flags & MF_SEPARATOR) {
    impl->menu.addSeparator();
  } else {
    QAction* action = impl->menu.addAction(ToQString(text != nullptr ? text : ""));
    action->setData(id);
  }
  return TRUE;
}

CWnd::CWnd() = default;
CWnd::~CWnd() { DetachWindow(*this); }

void CWnd::SetWindowText(const std::string& text) {
  if (m_hWnd == nullptr || m_hWnd->widget == nullptr) return;
  QWidget* w = m_hWnd->widget;
  const QString q = ToQString(text);
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setText(q);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    plain->setPlainText(q);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(q);
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(q);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(q);
  } else {
    w->setWindowTitle(q);
  }
}

std::string CWnd::GetWindowText() const {
  if (m_hWnd == nullptr || m_hWnd->widget == nullptr) return {};
  QWidget* w = m_hWnd->widget;
  if (auto* line = qobject_cast<QLineEdit*>(w)) return FromQString(line->text());
  if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return FromQString(plain->toPlainText());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return FromQString(button->text());
  if (auto* group = qobject_cast<QGroupBox*>(w)) return FromQString(group->title());
  if (auto* label = qobject_cast<QLabel*>(w)) return FromQString(label->text());
  return FromQString(w->windowTitle());
}

void CWnd::SetAccessibleName(const std::string& name) {
  if (m_hWnd == nullptr || m_hWnd->widget == nullptr) return;
  m_hWnd->widget->setAccessibleName(ToQString(name));
}

BOOL CWnd::EnableWindow(BOOL enable) {
  if (m_hWnd == nullptr || m_hWnd->widget == nullptr) return FALSE;
  const BOOL wasDisabled = !m_hWnd->widget->isEnabled();
  m_hWnd->widget->setEnabled(enable != FALSE);
  return wasDisabled;
}

CWnd* CWnd::SetFocus() {
  if (m_hWnd == nullptr || m_hWnd->widget == nullptr) return nullptr;
  m_hWnd->widget->setFocus(Qt::OtherFocusReason);
  if (m_hWnd->kind != WindowKind::Dialog) m_hWnd->dialog->UpdateDefaultLook(m_hWnd->widget);
  return nullptr;
}

void CWnd::UpdateWindow() {
  if (m_hWnd != nullptr && m_hWnd->widget != nullptr) m_hWnd->widget->repaint();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchToWindow(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int id) const {
  if (m_hWnd == nullptr || m_hWnd->kind != WindowKind::Dialog) return nullptr;
  HWND control = m_hWnd->dialog->Find(id);
  return control != nullptr ? control->wrapper.get() : nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL) {
  if (m_hWnd == nullptr || m_hWnd->kind != WindowKind::Dialog) return nullptr;
  return &m_hWnd->dialog->systemMenu;
}

HICON CWnd::SetIcon(HICON icon, BOOL) {
  // One window icon serves both sizes: the icon holds every image size.
  if (m_hWnd != nullptr && m_hWnd->widget != nullptr && icon != nullptr) {
    m_hWnd->widget->setWindowIcon(icon->Get());
  }
  return nullptr;
}

void CWnd::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) == SC_CLOSE) SendMessage(WM_CLOSE);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) OnSysCommand(static_cast<UINT>(wParam), lParam);
  return 0;
}

BOOL CWnd::IsIconic() const {
  return m_hWnd != nullptr && m_hWnd->widget != nullptr && m_hWnd->widget->isMinimized();
}

void CWnd::GetClientRect(RECT* rect) const {
  *rect = RECT{0, 0, 0, 0};
  if (m_hWnd != nullptr && m_hWnd->widget != nullptr) {
    rect->right = m_hWnd->widget->width();
    rect->bottom = m_hWnd->widget->height();
  }
}

// Qt paints its own windows and never sends WM_PAINT to a message map, so a
// paint device context here has nothing to draw on.
struct CPaintDC::Impl {};
CPaintDC::CPaintDC(CWnd*) {}
CPaintDC::~CPaintDC() = default;
BOOL CPaintDC::DrawIcon(int, int, HICON) { return FALSE; }

// The big icon's size, as the window system's standard one.
int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }
