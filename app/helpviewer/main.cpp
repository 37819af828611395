// kvlove-help: shows a page of the program's help file where the Windows
// help viewer is not at hand. Takes one parameter string, as hh.exe does:
//   kvlove-help "/path/to/LoveHelp.chm::30.html"
// Without one it opens LoveHelp.chm beside itself at its default topic.
#include <QApplication>

#include "app/desktop.h"
#include "app/helpviewer/help_request.h"
#include "app/helpviewer/help_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kvlove-help"));
  QApplication::setWindowIcon(kvapp::ProgramIcon());
  kvapp::LoadQtTranslations(app);
  kvapp::SubstituteFonts();

  kv::help::HelpWindow window(
      kv::help::RequestFromArguments(app.arguments().mid(1), QApplication::applicationDirPath()));
  window.show();
  return app.exec();
}
