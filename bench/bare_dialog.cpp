// The smallest Qt Widgets program that shows one empty dialog and quits: the memory baseline.
#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle("Bare dialog");
  // Closed from the running modal loop, after the dialog has been shown and painted once.
  QTimer::singleShot(0, &dialog, &QDialog::accept);
  dialog.exec();
  return 0;
}
