// Modal dialogs built from a template, with data exchange and the dialog
// manager's keyboard rules (Enter, Escape, default button, focus moves).
#pragma once

#include <memory>

#include "platform/window/dialog_template.h"
#include "platform/window/wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members
  CWnd* m_pDlgWnd;
};

// The first exchange binds the control to the member; later ones leave it.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// A check box's state to or from value (0 unchecked, 1 checked, 2 indeterminate).
void DDX_Check(CDataExchange* pDX, int id, int& value);

struct DialogState;

class CDialog : public CWnd {
 public:
  // parent nullptr: owned by the dialog that is running, if any.
  explicit CDialog(const DialogTemplate& tmpl, CWnd* parent = nullptr);
  ~CDialog() override;

  // Builds the window, runs OnInitDialog, and runs the event loop until
  // EndDialog; returns its result.
  virtual int DoModal();
  void EndDialog(int result);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  // Dialog units to pixels with the dialog font's base units.
  void MapDialogRect(RECT& rect) const;

 protected:
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* pDX);
  // IDOK: exchange and end with IDOK. IDCANCEL: end with IDCANCEL.
  virtual void OnOK();
  virtual void OnCancel();

  const MessageMap* GetMessageMap() const override;
  static const MessageMap* GetThisMessageMap();
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Create();
  void Destroy();

  const DialogTemplate& m_template;
  CWnd* m_pParent;
  std::unique_ptr<DialogState> m_state;

  friend struct DialogState;
  friend struct WindowTestAccess;
};

class CDialogEx : public CDialog {
 public:
  using CDialog::CDialog;
};

// A message box over the running dialog, titled with the application's name;
// without an icon in type, the exclamation icon. Returns IDOK.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
