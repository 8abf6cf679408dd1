// Writes a PNG of the main dialog after a successful look-up of "Pine Hollow".
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <cstdio>

#include "tests/ui/dialog_harness.h"
#include "ui/resource.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("Orlimar");
  DialogHarness harness;
  if (!harness.Start()) {
    std::fprintf(stderr, "the dialog did not become active\n");
    return 1;
  }
  QTest::keyClicks(harness.Control(IDC_LOCATION), "Pine Hollow");
  QTest::keyClick(harness.Control(IDC_LOCATION), Qt::Key_Return);
  QTest::qWait(50);
  if (!harness.Window()->grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
