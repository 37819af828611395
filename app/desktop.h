// What both windows of the program, the main window and the help viewer,
// set up once per process: Qt's own texts in the user's language, the fonts
// the window's layout was measured in, and the program's icon.
#pragma once

#include <QIcon>
#include <QLocale>

class QCoreApplication;

namespace kvapp {

// Qt's translations (message box buttons, context menus) for the user's
// locale (the system's: the window makes C the default locale for its
// numbers, which must not decide the language), from Qt's translations folder; nothing for a locale without them.
void LoadQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

// "Arial Cyr" and "System", which no free desktop has, are drawn in the face
// that "Arial" resolves to (Liberation Sans where it is installed), whose
// widths the captions and buttons were laid out for.
void SubstituteFonts();

QIcon ProgramIcon();

}  // namespace kvapp
