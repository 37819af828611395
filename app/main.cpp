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
  // SIGTERM, SIGHUP (a logout) and SIGINT end the window as its close
  // does: a compatibility run stops at a whole point without part files,
  // and the lock and the channel go. Caught first, so that one that comes
  // while an earlier start is asked to hand over still counts.
  kvapp::SignalCatcher catcher;
  QObject::connect(&catcher, &kvapp::SignalCatcher::caught, &app,
                   [] { QCoreApplication::exit(0); });
  kvapp::LoadQtTranslations(app);
  // Two windows in one main directory would overwrite each other's files:
  // a second start brings the first one's window forward instead.
  const QString mainDir = QDir::currentPath();
  kvapp::InstanceLock instance(mainDir);
  switch (instance.Claim()) {
    case kvapp::InstanceLock::First:
      if (!instance.problem().isEmpty())
        qWarning("korvella-love: %s; the window runs without guarding against a second one",
                 qUtf8Printable(instance.problem()));
      break;
    case kvapp::InstanceLock::HandedOver: return 0;
    case kvapp::InstanceLock::NoAnswer: {
      const QString holder = instance.problem().isEmpty()
                                 ? QString()
                                 : QStringLiteral(" (") + instance.problem() + u')';
      QMessageBox::critical(
          nullptr, QStringLiteral("Korvella Love"),
          QString::fromUtf8("Программа уже запущена в папке «%1»%2, но её окно не отвечает.\n"
                            "Закройте то окно или завершите тот процесс и запустите программу "
                            "снова: файл блокировки «%3» освободится, как только процесс "
                            "завершится.")
              .arg(mainDir, holder, instance.lockFileName()));
      return 1;
    }
  }
  kvapp::SubstituteFonts();
  kvapp::TZKV_LoveForm form;
  QObject::connect(&instance, &kvapp::InstanceLock::raiseRequested, &form,
                   &kvapp::TZKV_LoveForm::BringToFront);
  QObject::connect(&catcher, &kvapp::SignalCatcher::caught, &form, &QWidget::close);
  form.show();
  return app.exec();
}
