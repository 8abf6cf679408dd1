// The main dialog with fake services, an in-memory store and a recording
// shell, shown as the program shows it but driven by the test's event loop.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/interfaces/shell_open.h"
#include "settings/settings_store.h"
#include "tests/support/canned_replies.h"
#include "tests/support/fake_http.h"
#include "tests/support/in_memory_profile_store.h"
#include "ui/orlimar_dlg.h"

class RecordingShell : public ShellOpener {
 public:
  void Open(const std::string& address) override { opened.push_back(address); }
  std::vector<std::string> opened;
};

// Calls a hook when a session opens: the moment the dialog starts to wait.
class ObservedHttp : public HttpTextSource {
 public:
  explicit ObservedHttp(HttpTextSource& inner) : inner_(inner) {}
  std::unique_ptr<HttpSession> OpenSession(std::string_view agent) override;
  std::function<void()> onOpen;

 private:
  HttpTextSource& inner_;
};

class DialogHarness {
 public:
  DialogHarness();
  ~DialogHarness();

  // Loads the flags from the store, builds the dialog, shows it, activates it.
  bool Start(const std::string& startLocation = {});
  QWidget* Window() const;
  QWidget* Control(int id) const;
  QString Text(int id) const;
  bool Ended() const;
  int DefId();
  // The store's values, as "Name=value" in write order.
  std::vector<std::string> Writes() const;

  FakeHttpTextSource http;
  ObservedHttp observed{http};
  RecordingShell shell;
  InMemoryProfileStore store;
  AppSettingsState settings;
  std::unique_ptr<COrlimarDlg> dialog;
};
