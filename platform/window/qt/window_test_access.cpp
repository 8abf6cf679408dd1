// The test accessor: widgets behind windows and a modal run without its loop.
#include "platform/window/qt/window_test_access.h"

#include "platform/window/qt/window_impl_qt.h"

QWidget* WindowTestAccess::Widget(const CWnd& wnd) {
  return wnd.m_hWnd != nullptr ? wnd.m_hWnd->widget.data() : nullptr;
}

QWidget* WindowTestAccess::Control(const CDialog& dialog, int id) {
  if (dialog.m_state == nullptr) return nullptr;
  HWND hwnd = dialog.m_state->Find(id);
  return hwnd != nullptr ? hwnd->widget.data() : nullptr;
}

std::vector<QWidget*> WindowTestAccess::Controls(const CDialog& dialog) {
  std::vector<QWidget*> widgets;
  if (dialog.m_state == nullptr) return widgets;
  for (const auto& control : dialog.m_state->controls) widgets.push_back(control->widget);
  return widgets;
}

QMenu* WindowTestAccess::SystemMenu(const CDialog& dialog) {
  return dialog.m_state != nullptr ? &dialog.m_state->systemMenu.impl->menu : nullptr;
}

void WindowTestAccess::BeginModal(CDialog& dialog) {
  dialog.Create();
  if (!dialog.m_state->ended) dialog.m_state->widget->show();
}

bool WindowTestAccess::HasEnded(const CDialog& dialog) {
  return dialog.m_state != nullptr && dialog.m_state->ended;
}

int WindowTestAccess::Result(const CDialog& dialog) {
  return dialog.m_state != nullptr ? dialog.m_state->result : 0;
}

void WindowTestAccess::EndModal(CDialog& dialog) { dialog.Destroy(); }
