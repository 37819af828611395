#include "app/helpviewer/help_request.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace kv::help {

namespace {

QString PagePart(QString page) {
  while (page.startsWith(u'/') || page.startsWith(u'\\')) page.remove(0, 1);
  page.replace(u'\\', u'/');
  return page;
}

// The positions of "::", last first; ":::" counts at both places.
std::vector<qsizetype> Separators(const QString& s) {
  std::vector<qsizetype> v;
  for (qsizetype i = s.lastIndexOf(u"::"); i >= 0; i = i > 0 ? s.lastIndexOf(u"::", i - 1) : -1)
    v.push_back(i);
  return v;
}

}  // namespace

HelpRequest ParseHelpArgument(const QString& argument,
                              const std::function<bool(const QString&)>& isFile) {
  const auto exists = [&](const QString& f) {
    if (f.isEmpty()) return false;
    return isFile ? isFile(f) : QFileInfo(f).isFile();
  };
  const auto split = [&](qsizetype i) {
    return HelpRequest{argument.left(i), PagePart(argument.mid(i + 2))};
  };
  const std::vector<qsizetype> seps = Separators(argument);
  for (qsizetype i : seps)
    if (exists(argument.left(i))) return split(i);
  if (exists(argument)) return {argument, {}};
  for (qsizetype i : seps)
    if (argument.left(i).endsWith(u".chm", Qt::CaseInsensitive)) return split(i);
  if (argument.endsWith(u".chm", Qt::CaseInsensitive) || seps.empty()) return {argument, {}};
  return split(seps.front());
}

HelpRequest RequestFromArguments(const QStringList& arguments, const QString& programDir) {
  if (arguments.isEmpty()) return {QDir(programDir).filePath(QStringLiteral("LoveHelp.chm")), {}};
  return ParseHelpArgument(arguments.join(u' '));
}

}  // namespace kv::help
