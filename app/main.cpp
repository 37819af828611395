#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "KV_Love.h"
#include "desktop.h"
#include "platform.h"

namespace {
// The last net: an error that escapes a handler anyway is shown and the
// program goes on.
class TApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* e) override {
    try {
      return QApplication::notify(receiver, e);
    } catch (const std::exception& ex) {
      QMessageBox::critical(nullptr, QStringLiteral("Korvella Love"), QString::fromUtf8(ex.what()));
    }
    return false;
  }
};
}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  kvapp::LoadQtTranslations(app);
  // Two windows in one main directory would overwrite each other's files:
  // a second start brings the first one's window forward instead.
  const QString mainDir = QDir::currentPath();
  kvapp::InstanceLock instance(mainDir);
  switch (instance.Claim()) {
    case kvapp::InstanceLock::First: break;
    case kvapp::InstanceLock::HandedOver: return 0;
    case kvapp::InstanceLock::NoAnswer:
      QMessageBox::critical(
          nullptr, QStringLiteral("Korvella Love"),
          QString::fromUtf8("Программа уже запущена в папке %1, но её окно не отвечает.")
              .arg(mainDir));
      return 1;
  }
  kvapp::SubstituteFonts();
  kvapp::TZKV_LoveForm form;
  QObject::connect(&instance, &kvapp::InstanceLock::raiseRequested, &form,
                   &kvapp::TZKV_LoveForm::BringToFront);
  form.show();
  return app.exec();
}
