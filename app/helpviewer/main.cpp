// kvlove-help: shows a page of the program's help file where the Windows
// help viewer is not at hand. Takes one parameter string, as hh.exe does:
//   kvlove-help "/path/to/LoveHelp.chm::30.html"
// Without one it opens LoveHelp.chm beside itself at its default topic.
// One viewer runs per help file: a later start hands its page to it.
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "app/desktop.h"
#include "app/helpviewer/help_instance.h"
#include "app/helpviewer/help_request.h"
#include "app/helpviewer/help_window.h"
#include "app/platform.h"

namespace {

const char kUsage[] =
    "Использование: kvlove-help [ФАЙЛ[::СТРАНИЦА]]\n"
    "Показывает справку Korvella Love (файл CHM) в окне с содержанием,\n"
    "указателем и поиском по тексту страниц.\n"
    "\n"
    "  ФАЙЛ::СТРАНИЦА  страница файла справки, например\n"
    "                  /usr/share/korvella-love/LoveHelp.chm::30.html\n"
    "  без аргументов  LoveHelp.chm рядом с программой, первая страница\n"
    "  -h, --help      эта справка\n"
    "  --version       версия программы\n"
    "\n"
    "Если справка этого файла уже открыта, страница показывается в её окне.\n"
    "Клавиши: Alt+Влево/Alt+Вправо — назад/вперёд, Alt+Home — в начало,\n"
    "Alt+C — содержание, Alt+I — указатель, Alt+S или Ctrl+F — поиск,\n"
    "Ctrl+плюс/Ctrl+минус/Ctrl+0 — крупнее/мельче/обычный размер,\n"
    "Ctrl+P — печать, Esc или Ctrl+W — закрыть.\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before any window: these work without a display.
  if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strncmp(argv[1], "--", 2) == 0)) {
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
      std::puts("kvlove-help " KV_VERSION);
      return 0;
    }
    std::fprintf(stderr,
                 "kvlove-help: неизвестный параметр «%s»; см. kvlove-help --help\n"
                 "(файл, имя которого начинается с «--», задайте как ./%s)\n",
                 argv[1], argv[1]);
    return 2;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kvlove-help"));
  const kv::help::HelpRequest request =
      kv::help::RequestFromArguments(app.arguments().mid(1), QApplication::applicationDirPath());

  // A viewer of the same file already open shows the page instead. If it
  // does not answer, this one opens its own window: viewers write nothing.
  kvapp::InstanceLock instance(request.file, QStringLiteral("help"));
  if (instance.Claim(kv::help::ShowRequest(request.page)) == kvapp::InstanceLock::HandedOver)
    return 0;

  QApplication::setWindowIcon(kvapp::ProgramIcon());
  kvapp::LoadQtTranslations(app);
  kvapp::SubstituteFonts();
  kv::help::HelpWindow window(request);
  kv::help::ServeLaterStarts(instance, window);
  window.show();
  return app.exec();
}
