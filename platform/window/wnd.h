// Windows and controls: text, enable state, focus, repaint, messages, and the
// message map that routes commands to member handlers.
#pragma once

#include <memory>
#include <string>

#include "platform/window/win_types.h"

class CWnd;

// One row of a message map: a command (control id and notification) or a
// message, and the member that handles it.
struct MessageMapEntry {
  using CommandHandler = void (CWnd::*)();
  using MessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
  UINT message = 0;
  UINT id = 0;    // WM_COMMAND only
  UINT code = 0;  // WM_COMMAND only
  CommandHandler command = nullptr;
  MessageHandler handler = nullptr;
};

// A class's own entries and its base class's map, searched in that order.
struct MessageMap {
  const MessageMap* base;
  const MessageMapEntry* entries;
  std::size_t count;
};

template <class T>
MessageMapEntry MapCommand(UINT id, UINT code, void (T::*fn)()) {
  return {WM_COMMAND, id, code, static_cast<MessageMapEntry::CommandHandler>(fn), nullptr};
}
template <class T>
MessageMapEntry MapBnClicked(UINT id, void (T::*fn)()) {
  return MapCommand(id, BN_CLICKED, fn);
}
template <class T>
MessageMapEntry MapEnChange(UINT id, void (T::*fn)()) {
  return MapCommand(id, EN_CHANGE, fn);
}
template <class T>
MessageMapEntry MapMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
  return {message, 0, 0, nullptr, static_cast<MessageMapEntry::MessageHandler>(fn)};
}

// The window's own menu of system commands (Close, and what the program adds).
class CMenu {
 public:
  CMenu();
  ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;
  // flags MF_STRING or MF_SEPARATOR; the item's command arrives as WM_SYSCOMMAND.
  BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr);

  struct Impl;
  std::unique_ptr<Impl> impl;
};

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }

  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;
  // What assistive technology reads for the window where its caption alone
  // does not say what it is; an empty name falls back to the caption.
  void SetAccessibleName(const std::string& name);
  BOOL EnableWindow(BOOL enable = TRUE);
  CWnd* SetFocus();
  // Paints the window now rather than when the event loop next runs.
  void UpdateWindow();

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Queued; delivered by the event loop once the current handler returns.
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  CWnd* GetDlgItem(int id) const;
  CMenu* GetSystemMenu(BOOL revert);
  HICON SetIcon(HICON icon, BOOL bigIcon);
  // Minimised: shown as its icon only.
  BOOL IsIconic() const;
  void GetClientRect(RECT* rect) const;

  // System command default: SC_CLOSE becomes WM_CLOSE.
  virtual void OnSysCommand(UINT id, LPARAM lParam);

  HWND m_hWnd = nullptr;

 protected:
  virtual const MessageMap* GetMessageMap() const;
  static const MessageMap* GetThisMessageMap();
  // Searches the message map chain, then falls back to DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  friend LRESULT DispatchToWindow(HWND, UINT, WPARAM, LPARAM);
};

// Painting inside a window's WM_PAINT, from the start of the paint to its end.
class CPaintDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  BOOL DrawIcon(int x, int y, HICON icon);

  HDC m_hDC = nullptr;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

#ifndef _WIN32
// The system's sizes by index: SM_CXICON, SM_CYICON.
int GetSystemMetrics(int index);
#endif

class CEdit : public CWnd {};

// Check state and button style go through BM_ messages, as the dialog sends them.
class CButton : public CWnd {};
