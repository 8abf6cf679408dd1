// The about entry of the main dialog's system menu, and the box it opens, on the offscreen
// platform.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/window/qt/window_test_access.h"
#include "platform/window/resources.h"
#include "tests/ui/dialog_harness.h"
#include "ui/resource.h"
#include "ui/ui_resources.h"

namespace {

// Watches for the about box from inside its modal loop, notes what it shows
// and presses its OK button. Gives up after a few seconds, closing whatever
// modal window is up, so a box that never closes cannot hang the test.
class AboutBoxCloser {
 public:
  explicit AboutBoxCloser(QWidget* mainWindow) : main_(mainWindow) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (box == nullptr || box == main_) return;
      if (++polls_ > 500) {
        box->done(0);
        return;
      }
      title = box->windowTitle();
      for (QLabel* label : box->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) hasIcon = true;
        if (!label->text().isEmpty()) texts << label->text();
      }
      for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (button->text() == "OK") okDefault = button->isDefault(), button->click();
      }
      ++opened;
    });
    timer_.start();
  }

  int opened = 0;
  QString title;
  QStringList texts;
  bool hasIcon = false;
  bool okDefault = false;

 private:
  QWidget* main_;
  QTimer timer_;
  int polls_ = 0;
};

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    RegisterUiResources();
    h = std::make_unique<DialogHarness>();
  }
  void cleanup() {
    if (h->dialog) WindowTestAccess::EndModal(*h->dialog);
    h.reset();
    RegisterStringResource(IDS_ABOUTBOX, "&About Orlimar...");
  }

  void entryFollowsASeparatorAfterTheStandardItems() {
    QVERIFY(h->Start());
    const QList<QAction*> items = WindowTestAccess::SystemMenu(*h->dialog)->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->data().toUInt(), SC_CLOSE);
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QString("&About Orlimar..."));
    QCOMPARE(items[2]->data().toUInt(), IDM_ABOUTBOX);
  }

  void choosingTheEntryShowsTheBox() {
    QVERIFY(h->Start());
    AboutBoxCloser closer(h->Window());
    WindowTestAccess::SystemMenu(*h->dialog)->actions().back()->trigger();
    QTRY_COMPARE(closer.opened, 1);
    QCOMPARE(closer.title, QString("About Orlimar"));
    QVERIFY(closer.texts.contains("Orlimar    Version 1.00.002"));
    QVERIFY(closer.hasIcon);
    QVERIFY(closer.okDefault);
    QVERIFY(!h->Ended());
    // The dialog has the keyboard again: Escape still reaches it.
    QTRY_VERIFY(h->Window()->isActiveWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(h->Ended());
  }

  void emptyStringLeavesOutSeparatorAndEntry() {
    RegisterStringResource(IDS_ABOUTBOX, "");
    QVERIFY(h->Start());
    QCOMPARE(WindowTestAccess::SystemMenu(*h->dialog)->actions().size(), 1);
  }

  void systemCommands_data() {
    QTest::addColumn<UINT>("id");
    QTest::addColumn<bool>("opensBox");
    QTest::addColumn<bool>("endsDialog");
    for (UINT low = 0; low < 16; ++low) {
      const UINT id = IDM_ABOUTBOX + low;
      QTest::addRow("0x%04X", id) << id << true << false;
    }
    QTest::newRow("0x0000") << 0x0000u << false << false;
    QTest::newRow("0x0020") << 0x0020u << false << false;
    QTest::newRow("0xF010 SC_MOVE") << 0xF010u << false << false;
    QTest::newRow("0xF060 SC_CLOSE passes on and closes") << SC_CLOSE << false << true;
    QTest::newRow("0xF06F SC_CLOSE low bits") << SC_CLOSE + 0xF << false << true;
  }

  void systemCommands() {
    QFETCH(UINT, id);
    QFETCH(bool, opensBox);
    QFETCH(bool, endsDialog);
    QVERIFY(h->Start());
    AboutBoxCloser closer(h->Window());
    // Returns only once a box it opened has been closed again.
    h->dialog->SendMessage(WM_SYSCOMMAND, id, 0);
    QCOMPARE(closer.opened, opensBox ? 1 : 0);
    QCOMPARE(h->Ended(), endsDialog);
  }

 private:
  std::unique_ptr<DialogHarness> h;
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
