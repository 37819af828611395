#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w;
  w.setWindowTitle(QString::fromUtf8("  Программа \"Korvella Love\""));
  w.setFixedSize(992, 666);
  w.show();
  return app.exec();
}
