#include "desktop.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kvapp {

void LoadQtTranslations(QCoreApplication& app, const QLocale& locale) {
  auto* qt = new QTranslator(&app);
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  else
    delete qt;
}

void SubstituteFonts() {
  const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  // Substitutes count only where the family itself is missing.
  QFont::insertSubstitution(QStringLiteral("Arial Cyr"), arial);
  QFont::insertSubstitution(QStringLiteral("System"), arial);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {48, 256})
    icon.addFile(QStringLiteral(":/icons/%1x%1/apps/korvella-love.png").arg(size));
  return icon;
}

}  // namespace kvapp
