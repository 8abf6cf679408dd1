// The about box: nothing of its own beyond its template.
#include "ui/about_dialog.h"

#include <string>

#include "platform/window/resources.h"
#include "ui/about_template.h"
#include "ui/resource.h"
#include "ui/ui_resources.h"

CAboutDlg::CAboutDlg() : CDialogEx(kAboutBoxTemplate) { RegisterUiResources(); }

void CAboutDlg::DoDataExchange(CDataExchange*) {}

void AddAboutBoxMenuEntry(CWnd& dialog) {
  CMenu* systemMenu = dialog.GetSystemMenu(FALSE);
  if (systemMenu == nullptr) return;
  std::string text;
  LoadStringResource(IDS_ABOUTBOX, text);
  if (text.empty()) return;
  systemMenu->AppendMenu(MF_SEPARATOR);
  systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, text.c_str());
}

bool OpenAboutBoxFor(UINT id) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg dlgAbout;
  dlgAbout.DoModal();
  return true;
}
