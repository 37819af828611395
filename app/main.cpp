#include <QApplication>
#include <QMessageBox>
#include <unistd.h>

#include <clocale>

#include "KV_Love.h"
#include "app/asan_webengine.h"

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
  // The embedded browser: Chromium's sandbox cannot run as root.
  if (::getuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  TApplication app(argc, argv);
  kvapp::TZKV_LoveForm form;
  form.show();
  return app.exec();
}
