#include "app/helpviewer/help_page.h"

#include <QFileInfo>

namespace kv::help {

namespace {

QString Quoted(const QString& s) { return u'«' + s.toHtmlEscaped() + u'»'; }

// Styled within what a rich-text browser draws: a coloured band of a
// table, the text below it.
QByteArray MessagePage(const QString& heading, const QString& text, const QString& link = {},
                       const QString& linkText = {}) {
  QString html =
      QStringLiteral(
          "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
          "<title>%1</title></head>"
          "<body style=\"background-color:#f6f3ec; color:#2b2b33; font-family:Arial,sans-serif; "
          "font-size:15px\">"
          "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"10\" bgcolor=\"#9b2c4e\">"
          "<tr><td style=\"color:#ffffff; font-size:21px\">%1</td></tr></table>"
          "<p style=\"margin:16px 20px\">%2</p>")
          .arg(heading.toHtmlEscaped(), text);
  if (!link.isEmpty())
    html += QStringLiteral(
                "<p style=\"margin:8px 20px\"><a href=\"%1\" style=\"color:#2e4290\">%2</a></p>")
                .arg(link.toHtmlEscaped(), linkText);
  html += QStringLiteral("</body></html>");
  return html.toUtf8();
}

}  // namespace

Reply ServePage(const ChmArchive& archive, const QString& path) {
  const QString& file = archive.FileName();
  if (!archive.IsOpen()) {
    if (!QFileInfo::exists(file))
      return {MessagePage(QStringLiteral("Файл справки не найден"),
                          QStringLiteral("Файл справки %1 не найден. Справка должна лежать "
                                         "в главной папке программы.")
                              .arg(Quoted(file)))};
    if (!archive.OpenError().isEmpty())
      return {MessagePage(QStringLiteral("Файл справки не открыт"),
                          archive.OpenError().toHtmlEscaped())};
    return {MessagePage(QStringLiteral("Файл справки повреждён"),
                        QStringLiteral("Файл %1 не удалось открыть как файл справки: он "
                                       "повреждён или имеет другой формат.")
                            .arg(Quoted(file)))};
  }
  if (const std::optional<QByteArray> data = archive.Read(path)) return {*data, true};
  const QString& home = archive.DefaultTopic();
  const bool offerHome =
      !home.isEmpty() && home.compare(path, Qt::CaseInsensitive) != 0 && archive.Exists(home);
  const QString link = offerHome ? u'/' + home : QString();
  const QString linkText = QStringLiteral("Перейти к началу справки");
  if (archive.Exists(path))
    return {MessagePage(QStringLiteral("Страница не прочитана"),
                        QStringLiteral("Страницу %1 не удалось прочитать из файла справки %2: "
                                       "файл повреждён.")
                            .arg(Quoted(path), Quoted(file)),
                        link, linkText)};
  return {MessagePage(
      QStringLiteral("Страница не найдена"),
      QStringLiteral("Страница %1 не найдена в файле справки %2.").arg(Quoted(path), Quoted(file)),
      link, linkText)};
}

QByteArray TooDeepPage(const QString& path, const QString& file, int limit) {
  return MessagePage(QStringLiteral("Страница не показана"),
                     QStringLiteral("Страница %1 файла справки %2 не показана: таблицы в ней "
                                    "вложены друг в друга глубже %3 уровней. Файл справки, "
                                    "вероятно, повреждён или подменён.")
                         .arg(Quoted(path), Quoted(file))
                         .arg(limit));
}

}  // namespace kv::help
