// Inside the window layer on user32: text at the wide calls, the running
// dialogs, and the subclassed dialog windows' procedure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/dialog.h"

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

struct CMenu::Impl {
  HMENU menu = nullptr;
};

// One run of a modal dialog, from DoModal to the window's destruction.
struct DialogState {
  explicit DialogState(CDialog& owner) : owner(owner) {}

  // The dialog manager's procedure: WM_INITDIALOG only; every other message
  // reaches the message map through the subclassed window procedure.
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The dialog class's own procedure: the dialog manager's default handling.
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const;
  CWnd* Item(HWND control);

  CDialog& owner;
  HWND hwnd = nullptr;
  WNDPROC original = nullptr;
  std::vector<std::uint8_t> tmpl;  // read by the dialog manager while the window is made
  std::vector<std::unique_ptr<CWnd>> items;  // what GetDlgItem hands out
  CMenu systemMenu;
};

// The window property that leads from a dialog's window to its state.
inline constexpr wchar_t kStateProperty[] = L"Orlimar.DialogState";

// A message to a window's procedure: a dialog's message map, or a control's own.
LRESULT DispatchToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The state of a dialog window made by this layer, or nullptr.
DialogState* StateOf(HWND hwnd);
// Binds a window object to a control, as DDX_Control does; unbound when the
// dialog's window goes.
void BindControl(CWnd& wnd, HWND control);
void UnbindControlsOf(HWND dialog);

// The innermost running dialog's window: owner of message boxes and of
// dialogs made without a parent. nullptr when none runs.
HWND RunningDialogWindow();

// A handler left with an exception: reported in a message box, as the
// framework reports it; the dialog goes on.
void ReportHandlerFailure();

// The title of message boxes; the executable's base name until set.
void SetMessageBoxTitle(std::string title);
const std::wstring& MessageBoxTitle();
