// Dialogs on the system's dialog manager: the template built in memory and
// run with DialogBoxIndirectParamW, data exchange, message boxes.
#include <algorithm>

#include "platform/window/dialog.h"
#include "platform/window/dialog_template_ex.h"
#include "platform/window/win32/window_win.h"

namespace {

std::vector<DialogState*>& Running() {
  static std::vector<DialogState*> running;
  return running;
}

}  // namespace

HWND RunningDialogWindow() {
  for (auto it = Running().rbegin(); it != Running().rend(); ++it) {
    if ((*it)->hwnd != nullptr) return (*it)->hwnd;
  }
  return nullptr;
}

INT_PTR CALLBACK DialogState::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = reinterpret_cast<CDialog*>(lParam);
  DialogState& state = *dialog->m_state;
  state.hwnd = hwnd;
  dialog->m_hWnd = hwnd;
  ::SetPropW(hwnd, kStateProperty, &state);
  // From here on every message goes through the message map first; what it
  // leaves goes on to the dialog manager.
  state.original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogState::SubclassProc)));
  BOOL focusFirst = TRUE;
  try {
    focusFirst = dialog->OnInitDialog();
  } catch (...) {
    ReportHandlerFailure();
  }
  return focusFirst;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd != nullptr) return;
  if (HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id)) BindControl(control, item);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
  if (item == nullptr) return;
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageW(item, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageW(item, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

CDialog::CDialog(const DialogTemplate& tmpl, CWnd* parent) : m_template(tmpl), m_pParent(parent) {}

CDialog::~CDialog() { Destroy(); }

void CDialog::Create() { m_state = std::make_unique<DialogState>(*this); }

void CDialog::Destroy() {
  if (m_state == nullptr) return;
  if (m_state->hwnd != nullptr) ::DestroyWindow(m_state->hwnd);
  std::erase(Running(), m_state.get());
  m_state.reset();
}

int CDialog::DoModal() {
  Create();
  m_state->tmpl = BuildDialogTemplateEx(m_template);
  HWND owner = m_pParent != nullptr && m_pParent->m_hWnd != nullptr ? m_pParent->m_hWnd
                                                                    : RunningDialogWindow();
  Running().push_back(m_state.get());
  const INT_PTR result = ::DialogBoxIndirectParamW(
      ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(m_state->tmpl.data()), owner,
      &DialogState::DialogProc, reinterpret_cast<LPARAM>(this));
  Destroy();
  return static_cast<int>(result);
}

void CDialog::EndDialog(int result) {
  if (m_hWnd != nullptr) ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::MapDialogRect(RECT& rect) const {
  if (m_hWnd != nullptr) ::MapDialogRect(m_hWnd, &rect);
}

// WM_CLOSE, DM_SETDEFID, DM_GETDEFID and WM_NEXTDLGCTL are the dialog manager's.
LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CWnd::DefWindowProc(message, wParam, lParam);
}

int AfxMessageBox(const std::string& text, UINT type) {
  if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
  return ::MessageBoxW(RunningDialogWindow(), Wide(text).c_str(), MessageBoxTitle().c_str(), type);
}
