// kvlove-help: shows a page of the program's help file where the Windows
// help viewer is not at hand. Takes one parameter string, as hh.exe does:
//   kvlove-help "/path/to/LoveHelp.chm::30.html"
// Without one it opens LoveHelp.chm beside itself at its default topic.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStringList>

#include "app/helpviewer/help_request.h"
#include "app/helpviewer/help_window.h"

#include "app/asan_webengine.h"

int main(int argc, char** argv) {
  kv::help::PrepareApplication();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kvlove-help"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvella-love.png")));

  // A caller that left the blanks of a path unquoted gets them back.
  const QStringList args = app.arguments().mid(1);
  const QString argument = args.join(u' ');
  const kv::help::HelpRequest request =
      argument.isEmpty()
          ? kv::help::HelpRequest{QDir(QApplication::applicationDirPath()).filePath("LoveHelp.chm"), {}}
          : kv::help::ParseHelpArgument(argument);

  kv::help::HelpWindow window(request);
  window.show();
  return app.exec();
}
