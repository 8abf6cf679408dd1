// The message map's search and the dialog's default commands: the same over every
// window back end, which only delivers the messages and defines DefWindowProc.
#include <iterator>

#include "platform/window/dialog.h"
#include "platform/window/wnd.h"

const MessageMap* CWnd::GetThisMessageMap() {
  static const MessageMap map{nullptr, nullptr, 0};
  return &map;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    for (std::size_t i = 0; i < map->count; ++i) {
      const MessageMapEntry& entry = map->entries[i];
      if (entry.message != message) continue;
      if (message == WM_COMMAND) {
        if (entry.id != LOWORD(wParam) || entry.code != HIWORD(wParam)) continue;
        (this->*entry.command)();
        return 0;
      }
      return (this->*entry.handler)(wParam, lParam);
    }
  }
  return DefWindowProc(message, wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

const MessageMap* CDialog::GetThisMessageMap() {
  static const MessageMapEntry entries[] = {
      MapBnClicked(IDOK, &CDialog::OnOK),
      MapBnClicked(IDCANCEL, &CDialog::OnCancel),
  };
  static const MessageMap map{CWnd::GetThisMessageMap(), entries, std::size(entries)};
  return &map;
}

const MessageMap* CDialog::GetMessageMap() const { return GetThisMessageMap(); }
