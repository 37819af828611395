// The yardstick of bench/startup-time: a bare Qt Widgets window of the
// program's size with five empty tabs, and nothing else.
#include <QApplication>
#include <QTabWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTabWidget window;
  window.setWindowTitle(QStringLiteral("bare window"));
  window.setFixedSize(992, 666);
  for (const char* tab :
       {"Начало", "Совместимость", " Планеты Вашего гороскопа ", " Лунные дни ", " Затмения "})
    window.addTab(new QWidget, QString::fromUtf8(tab));
  window.show();
  return app.exec();
}
