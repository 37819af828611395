#include "desktop.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
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

QString InstalledFace(const QString& face) {
  static QHash<QString, QString> chosen;
  if (const auto it = chosen.constFind(face); it != chosen.constEnd()) return *it;
  QString family = face;
  if (face == QLatin1String("Arial Cyr") || face == QLatin1String("System")) {
    family = InstalledFace(QStringLiteral("Arial"));
  } else if (!QFontDatabase::hasFamily(face)) {
    const QString twin = face == QLatin1String("Arial")     ? QStringLiteral("Liberation Sans")
                         : face == QLatin1String("Courier") ? QStringLiteral("Liberation Mono")
                                                            : QString();
    if (!twin.isEmpty() && QFontDatabase::hasFamily(twin)) family = twin;
  }
  chosen.insert(face, family);
  return family;
}

void SubstituteFonts() {
  // Substitutes count only where the family itself is missing.
  const QString arial = InstalledFace(QStringLiteral("Arial"));
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
