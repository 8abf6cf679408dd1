// The about box and its entry in the main dialog's system menu.
#pragma once

#include "platform/window/dialog.h"

class CAboutDlg : public CDialogEx {
 public:
  // No parent: the running dialog owns it.
  CAboutDlg();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};

// Appends a separator and the about entry (IDM_ABOUTBOX, string IDS_ABOUTBOX)
// to the dialog's system menu; nothing when there is no menu or no string.
void AddAboutBoxMenuEntry(CWnd& dialog);

// The system-command half: true, after the box has been shown and closed,
// when id is the about command (its low four bits are the system's own).
bool OpenAboutBoxFor(UINT id);
