#include "app/helpviewer/help_page.h"

#include <QFileInfo>

namespace kv::help {

namespace {

QString Quoted(const QString& s) { return u'«' + s.toHtmlEscaped() + u'»'; }

QByteArray MessagePage(const QString& heading, const QString& text, const QString& link = {},
                       const QString& linkText = {}) {
  QString html = QStringLiteral(
      "<!DOCTYPE html><html lang=\"ru\"><head><meta charset=\"utf-8\"><title>%1</title>"
      "<style>body{margin:0;background:#f6f3ec;color:#2b2b33;"
      "font-family:\"Segoe UI\",Tahoma,Arial,sans-serif;font-size:15px;line-height:1.5}"
      ".page{max-width:760px;margin:0 auto;padding:24px 28px}"
      "h1{color:#9b2c4e;font-size:23px;font-weight:normal;margin:8px 0 10px 0;"
      "padding-bottom:6px;border-bottom:2px solid #c9a96e}"
      "p{overflow-wrap:anywhere}a{color:#2e4290}</style></head>"
      "<body><div class=\"page\"><h1>%1</h1><p>%2</p>")
                     .arg(heading.toHtmlEscaped(), text);
  if (!link.isEmpty())
    html += QStringLiteral("<p><a href=\"%1\">%2</a></p>").arg(link.toHtmlEscaped(), linkText);
  html += QStringLiteral("</div></body></html>");
  return html.toUtf8();
}

}  // namespace

QByteArray MimeTypeOf(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  if (ext == u"html" || ext == u"htm") return "text/html";
  if (ext == u"css") return "text/css";
  if (ext == u"js") return "text/javascript";
  if (ext == u"png") return "image/png";
  if (ext == u"gif") return "image/gif";
  if (ext == u"jpg" || ext == u"jpeg") return "image/jpeg";
  if (ext == u"svg") return "image/svg+xml";
  if (ext == u"bmp") return "image/bmp";
  if (ext == u"ico") return "image/x-icon";
  if (ext == u"txt") return "text/plain";
  return "application/octet-stream";
}

Reply ServePage(const ChmArchive& archive, const QString& path) {
  const QString& file = archive.FileName();
  if (!archive.IsOpen()) {
    if (!QFileInfo(file).isFile())
      return {"text/html",
              MessagePage(QStringLiteral("Файл справки не найден"),
                          QStringLiteral("Файл справки %1 не найден. Справка должна лежать "
                                         "в главной папке программы.")
                              .arg(Quoted(file)))};
    return {"text/html",
            MessagePage(QStringLiteral("Файл справки повреждён"),
                        QStringLiteral("Файл %1 не удалось открыть как файл справки: он "
                                       "повреждён или имеет другой формат.")
                            .arg(Quoted(file)))};
  }
  if (const std::optional<QByteArray> data = archive.Read(path))
    return {MimeTypeOf(path), *data, true};
  const QString& home = archive.DefaultTopic();
  const bool offerHome = !home.isEmpty() && home.compare(path, Qt::CaseInsensitive) != 0 &&
                         archive.Exists(home);
  const QString link = offerHome ? u'/' + home : QString();
  const QString linkText = QStringLiteral("Перейти к началу справки");
  if (archive.Exists(path))
    return {"text/html",
            MessagePage(QStringLiteral("Страница не прочитана"),
                        QStringLiteral("Страницу %1 не удалось прочитать из файла справки %2: "
                                       "файл повреждён.")
                            .arg(Quoted(path), Quoted(file)),
                        link, linkText)};
  return {"text/html",
          MessagePage(QStringLiteral("Страница не найдена"),
                      QStringLiteral("Страница %1 не найдена в файле справки %2.")
                          .arg(Quoted(path), Quoted(file)),
                      link, linkText)};
}

}  // namespace kv::help
