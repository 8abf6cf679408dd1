// Windows and controls on user32; message routing through message maps.
#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

#include "platform/process/application_name.h"
#include "platform/win32/utf16_win.h"
#include "platform/window/win32/window_win.h"
#include "platform/window/wnd.h"

namespace {

std::vector<CWnd*>& BoundControls() {
  static std::vector<CWnd*> bound;
  return bound;
}

std::wstring& Title() {
  static std::wstring title;
  return title;
}

}  // namespace

std::wstring Wide(std::string_view utf8) { return Utf16(utf8); }

std::string Narrow(std::wstring_view utf16) { return Utf8(utf16); }

void SetMessageBoxTitle(std::string title) { Title() = Wide(title); }

const std::wstring& MessageBoxTitle() {
  if (Title().empty()) Title() = Wide(ApplicationName(nullptr));
  return Title();
}

void ReportHandlerFailure() {
  // Windows' own wording of the matching errors, whatever the system's
  // language (Wine words them differently).
  std::string text;
  try {
    throw;
  } catch (const std::invalid_argument&) {
    text = "The parameter is incorrect.";
  } catch (const std::bad_alloc&) {
    text = "Not enough memory resources are available to complete this operation.";
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "An unsupported operation was attempted.";
  }
  AfxMessageBox(text, MB_ICONSTOP);
}

DialogState* StateOf(HWND hwnd) {
  return hwnd != nullptr ? static_cast<DialogState*>(::GetPropW(hwnd, kStateProperty)) : nullptr;
}

void BindControl(CWnd& wnd, HWND control) {
  wnd.m_hWnd = control;
  BoundControls().push_back(&wnd);
}

void UnbindControlsOf(HWND dialog) {
  auto& bound = BoundControls();
  std::erase_if(bound, [dialog](CWnd* wnd) {
    if (wnd->m_hWnd != nullptr && ::GetParent(wnd->m_hWnd) != dialog) return false;
    wnd->m_hWnd = nullptr;
    return true;
  });
}

LRESULT DialogState::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
}

CWnd* DialogState::Item(HWND control) {
  if (control == nullptr) return nullptr;
  for (const auto& item : items) {
    if (item->m_hWnd == control) return item.get();
  }
  items.push_back(std::make_unique<CWnd>());
  items.back()->m_hWnd = control;
  return items.back().get();
}

LRESULT CALLBACK DialogState::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = StateOf(hwnd);
  if (message == WM_NCDESTROY) {
    // The window goes: the objects that named it no longer do.
    const WNDPROC original = state->original;
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::RemovePropW(hwnd, kStateProperty);
    UnbindControlsOf(hwnd);
    state->items.clear();
    state->systemMenu.impl->menu = nullptr;
    state->owner.m_hWnd = nullptr;
    state->hwnd = nullptr;
    return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  // An exception must not cross the system's frames: it is reported here,
  // at the handler that the message reached.
  try {
    return DispatchToWindow(hwnd, message, wParam, lParam);
  } catch (...) {
    ReportHandlerFailure();
    return 0;
  }
}

LRESULT DispatchToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DialogState* state = StateOf(hwnd)) {
    return static_cast<CWnd&>(state->owner).WindowProc(message, wParam, lParam);
  }
  return ::SendMessageW(hwnd, message, wParam, lParam);
}

CMenu::CMenu() : impl(std::make_unique<Impl>()) {}
CMenu::~CMenu() = default;

BOOL CMenu::AppendMenu(UINT flags, UINT id, const char* text) {
  if (impl->menu == nullptr) return FALSE;
  if (flags & MF_SEPARATOR) return ::AppendMenuW(impl->menu, flags, id, nullptr);
  return ::AppendMenuW(impl->menu, flags, id, Wide(text != nullptr ? text : "").c_str());
}

CWnd::CWnd() = default;
CWnd::~CWnd() { std::erase(BoundControls(), this); }

void CWnd::SetWindowText(const std::string& text) {
  if (m_hWnd != nullptr) ::SetWindowTextW(m_hWnd, Wide(text).c_str());
}

std::string CWnd::GetWindowText() const {
  if (m_hWnd == nullptr) return {};
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

BOOL CWnd::EnableWindow(BOOL enable) {
  return m_hWnd != nullptr ? ::EnableWindow(m_hWnd, enable) : FALSE;
}

CWnd* CWnd::SetFocus() {
  if (m_hWnd != nullptr) ::SetFocus(m_hWnd);
  return nullptr;
}

void CWnd::UpdateWindow() {
  if (m_hWnd != nullptr) ::UpdateWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd != nullptr ? ::SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd != nullptr ? ::PostMessageW(m_hWnd, message, wParam, lParam) : FALSE;
}

CWnd* CWnd::GetDlgItem(int id) const {
  DialogState* state = StateOf(m_hWnd);
  return state != nullptr ? state->Item(::GetDlgItem(m_hWnd, id)) : nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
  DialogState* state = StateOf(m_hWnd);
  if (state == nullptr) return nullptr;
  state->systemMenu.impl->menu = ::GetSystemMenu(m_hWnd, revert);
  return state->systemMenu.impl->menu != nullptr ? &state->systemMenu : nullptr;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  if (m_hWnd == nullptr) return nullptr;
  return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL,
                                              reinterpret_cast<LPARAM>(icon)));
}

// The default processing of a system command: moving, sizing, closing.
void CWnd::OnSysCommand(UINT id, LPARAM lParam) {
  if (DialogState* state = StateOf(m_hWnd)) state->CallOriginal(WM_SYSCOMMAND, id, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND) {
    OnSysCommand(static_cast<UINT>(wParam), lParam);
    return 0;
  }
  DialogState* state = StateOf(m_hWnd);
  return state != nullptr ? state->CallOriginal(message, wParam, lParam) : 0;
}

BOOL CWnd::IsIconic() const { return m_hWnd != nullptr && ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(RECT* rect) const {
  *rect = RECT{0, 0, 0, 0};
  if (m_hWnd != nullptr) ::GetClientRect(m_hWnd, rect);
}

struct CPaintDC::Impl {
  HWND hwnd = nullptr;
  PAINTSTRUCT paint{};
};

CPaintDC::CPaintDC(CWnd* wnd) : m_impl(std::make_unique<Impl>()) {
  m_impl->hwnd = wnd->m_hWnd;
  m_hDC = ::BeginPaint(m_impl->hwnd, &m_impl->paint);
}

CPaintDC::~CPaintDC() { ::EndPaint(m_impl->hwnd, &m_impl->paint); }

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
