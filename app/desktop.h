// What both windows of the program, the main window and the help viewer,
// set up once per process: Qt's own texts in the user's language, the fonts
// the window's layout was measured in, and the program's icon.
#pragma once

#include <QIcon>

class QCoreApplication;

namespace kvapp {

// Qt's translations (message box buttons, context menus) for the system's
// locale, from Qt's translations folder; nothing for a locale without them.
// The system's, not the default locale: the window makes C the default for
// its numbers, which must not decide the language.
void LoadQtTranslations(QCoreApplication& app);

// "Arial Cyr" and "System", which no free desktop has, are drawn in the face
// that "Arial" resolves to (Liberation Sans where it is installed), whose
// widths the captions and buttons were laid out for.
void SubstituteFonts();

QIcon ProgramIcon();

}  // namespace kvapp
