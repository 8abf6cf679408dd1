// The dialog harness shared by the dialog tests and the screenshot program.
#include "tests/ui/dialog_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "platform/window/qt/window_test_access.h"

std::unique_ptr<HttpSession> ObservedHttp::OpenSession(std::string_view agent) {
  if (onOpen) onOpen();
  return inner_.OpenSession(agent);
}

DialogHarness::DialogHarness() {
  SetUpRegistry(store, settings);
  http.Serve(kGeocodePrefix, {.lines = FoundGeocodeReply()});
  http.Serve(kElevationPrefix, {.lines = ElevationReply("  <elevation>1608.6379395</elevation>")});
}

DialogHarness::~DialogHarness() {
  if (dialog != nullptr) WindowTestAccess::EndModal(*dialog);
}

bool DialogHarness::Start(const std::string& startLocation) {
  LoadPreferences(store);
  store.ClearWrites();
  dialog = std::make_unique<COrlimarDlg>(observed, shell, store, settings);
  dialog->m_strStartLocation = startLocation;
  WindowTestAccess::BeginModal(*dialog);
  QWidget* window = Window();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  return QTest::qWaitForWindowActive(window);
}

QWidget* DialogHarness::Window() const { return WindowTestAccess::Widget(*dialog); }

QWidget* DialogHarness::Control(int id) const { return WindowTestAccess::Control(*dialog, id); }

QString DialogHarness::Text(int id) const {
  QWidget* w = Control(id);
  if (auto* line = qobject_cast<QLineEdit*>(w)) return line->text();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return plain->toPlainText();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  return {};
}

bool DialogHarness::Ended() const { return WindowTestAccess::HasEnded(*dialog); }

int DialogHarness::DefId() {
  return static_cast<int>(LOWORD(static_cast<std::uintptr_t>(dialog->SendMessage(DM_GETDEFID))));
}

std::vector<std::string> DialogHarness::Writes() const { return store.WrittenValues(); }
