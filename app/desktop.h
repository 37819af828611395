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

// The family to ask for in place of one of the window's faces: the face
// itself where it is installed, else its twin of the same widths from
// fonts-liberation2 (Arial: Liberation Sans, Courier: Liberation Mono);
// "Arial Cyr" and "System", which no free desktop has, take Arial's. Asked
// for by name, a missing face costs a fontconfig fallback search for every
// size and weight, and Courier's may end on a Type 1 font.
QString InstalledFace(const QString& face);

// "Arial Cyr" and "System" drawn in Arial's face (InstalledFace), whose
// widths the captions and buttons were laid out for, wherever a text names
// them (the help pages, the report).
void SubstituteFonts();

QIcon ProgramIcon();

}  // namespace kvapp
