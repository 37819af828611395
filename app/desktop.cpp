#include "desktop.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

namespace kvapp {

void LoadQtTranslations(QCoreApplication& app) {
  auto* qt = new QTranslator(&app);
  if (qt->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
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
  // From pixmaps: a file name would have Qt look through its icon engine
  // plugins first, which costs a start-up many times the decoding.
  QIcon icon;
  for (int size : {48, 256})
    icon.addPixmap(QPixmap(QStringLiteral(":/icons/%1x%1/apps/korvella-love.png").arg(size)));
  return icon;
}

}  // namespace kvapp
