// A read-only line edit's accessible interface: its text for reading and
// selecting, the read-only state and no editable one.
#include "platform/window/qt/read_only_edit_accessible.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QVariant>

namespace {

constexpr char kMarker[] = "orlimarReadOnlyField";

class ReadOnlyEditAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReadOnlyEditAccessible(QLineEdit* edit)
      : QAccessibleWidget(edit, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = Edit()->isReadOnly();
    s.editable = !s.readOnly;
    s.selectableText = true;
    return s;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Edit()->text();
    return QAccessibleWidget::text(t);
  }

  // The text interface, over the edit's own selection and caret.
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index == 0 && Edit()->hasSelectedText()) {
      *start = Edit()->selectionStart();
      *end = Edit()->selectionEnd();
    }
  }
  int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Edit()->deselect();
  }
  void setSelection(int index, int start, int end) override {
    if (index == 0) Edit()->setSelection(start, end - start);
  }
  int cursorPosition() const override { return Edit()->cursorPosition(); }
  void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
  QString text(int start, int end) const override { return Edit()->text().mid(start, end - start); }
  int characterCount() const override { return int(Edit()->text().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int start, int) override { Edit()->setCursorPosition(start); }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* MakeForMarkedEdits(const QString&, QObject* object) {
  auto* edit = qobject_cast<QLineEdit*>(object);
  if (edit == nullptr || !edit->property(kMarker).toBool()) return nullptr;
  return new ReadOnlyEditAccessible(edit);
}

}  // namespace

void ReportReadOnlyToAssistiveTechnology(QLineEdit* edit) {
  static const bool installed = (QAccessible::installFactory(MakeForMarkedEdits), true);
  (void)installed;
  edit->setProperty(kMarker, true);
}
