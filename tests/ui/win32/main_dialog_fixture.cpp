// The main dialog's fixture on user32.
#include "tests/ui/win32/main_dialog_fixture.h"


#include "platform/window/win32/window_win.h"

MainDialogTest::MainDialogTest() {
  SetMessageBoxTitle("Orlimar");
  SetUpRegistry(store, settings);
  http.Serve(kGeocodePrefix, {.lines = FoundGeocodeReply()});
  http.Serve(kElevationPrefix, {.lines = ElevationReply("  <elevation>1608.6379395</elevation>")});
}

void MainDialogTest::Start(const std::string& startLocation, bool waitShown) {
  LoadPreferences(store);
  store.ClearWrites();
  dialog = std::make_unique<COrlimarDlg>(http, shell, store, settings);
  dialog->m_strStartLocation = startLocation;
  if (waitShown) {
    driver.WaitFor([this] { return Dialog() != nullptr && IsWindowVisible(Dialog()); });
  }
}

int MainDialogTest::Finish() {
  int result = 0;
  const bool finished = driver.Run([&] { result = dialog->DoModal(); });
  return finished ? result : kUnfinished;
}

void MainDialogTest::Key(int id, UINT key) const {
  PostMessageW(Item(id), WM_KEYDOWN, key, 1);
  PostMessageW(Item(id), WM_KEYUP, key, 0xC0000001);
}

void MainDialogTest::Type(int id, const std::wstring& text) const {
  for (wchar_t c : text) PostMessageW(Item(id), WM_CHAR, c, 1);
}

std::vector<std::string> MainDialogTest::Writes() const { return store.WrittenValues(); }
