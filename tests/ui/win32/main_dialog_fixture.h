// The main dialog on user32 with fake services, an in-memory store and a
// recording shell, run modally and driven through real window messages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/interfaces/shell_open.h"
#include "settings/settings_store.h"
#include "tests/support/canned_replies.h"
#include "tests/support/fake_http.h"
#include "tests/support/in_memory_profile_store.h"
#include "tests/ui/win32/modal_driver.h"
#include "ui/orlimar_dlg.h"

class RecordingShell : public ShellOpener {
 public:
  void Open(const std::string& address) override { opened.push_back(address); }
  std::vector<std::string> opened;
};

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest();

  // Loads the flags, builds the dialog, and makes the driver's first step
  // wait until it is shown; the test then adds its own steps.
  void Start(const std::string& startLocation = {}, bool waitShown = true);
  // Runs the dialog with the steps. DoModal's result, or kUnfinished when
  // the steps did not all run in time.
  int Finish();
  static constexpr int kUnfinished = -100;

  HWND Dialog() const { return dialog != nullptr ? dialog->GetSafeHwnd() : nullptr; }
  HWND Item(int id) const { return GetDlgItem(Dialog(), id); }
  std::wstring Text(int id) const { return WindowText(Item(id)); }
  bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Keys go through the dialog's queue, where the dialog manager sees them.
  void Key(int id, UINT key) const;
  void Type(int id, const std::wstring& text) const;
  void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  // The store's values, as "Name=value" in write order.
  std::vector<std::string> Writes() const;

  FakeHttpTextSource http;
  RecordingShell shell;
  InMemoryProfileStore store;
  AppSettingsState settings;
  std::unique_ptr<COrlimarDlg> dialog;
  ModalDriver driver;
};

inline constexpr char kPineHollowPage[] =
    "http://forecast.weather.gov/MapClick.php?w0=t&w1=td&w2=wc&w3=sfcwind&w4=sky&w5=pop&w6=rh&"
    "w7=rain&w8=thunder&w9=snow&w10=fzg&w11=sleet&AheadHour=0&Submit=Submit&FcstType=graphical&"
    "textField1=37.9495135&textField2=-120.7950794&site=all&unit=0&dd=&bw=";
