#include "documents.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include "chart_painter.h"
#include "compat/charts.h"
#include "core/text.h"
#include "degrees/degree_report.h"

namespace kvpaint {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The report's sign picture NN.gif, which the page leaves without words, is
// read as the sign it shows.
QString SignPictureText(const QString& name) {
  const QString file = QUrl(name).fileName();
  bool ok = false;
  const int sign = file.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive) && file.size() == 6
                       ? file.left(2).toInt(&ok)
                       : 0;
  if (!ok || sign < 1 || sign > 12) return {};
  return U("Знак Зодиака: ") + QString::fromStdString(kv::FromCp1251(kv::Sign_Names[sign]));
}

// Paper is sharper than a screen: the charts are drawn at this many
// picture pixels per chart pixel.
constexpr qreal kPaperRatio = 4;
// The width of a chart on paper, in the document's pixels: A4 or Letter
// less the margins is wider than this.
constexpr int kPaperChartWidth = 620;

QImage ChartPicture(const kv::TScanPoints& points) {
  ChartPainter chart(kv::kChartWidth, kv::kChartHeight, kPaperRatio);
  // As the run draws it: frame, every bar, then the labels over them.
  kv::Chart_Frame(chart);
  for (int k = 1; k <= kv::kScanPoints; ++k) kv::Chart_Bar(chart, k, points[k].Level);
  kv::Chart_Labels(chart, points);
  return chart.Image();
}

// Paper has no pixels: a font sized in pixels would be drawn in the
// printer's, a fraction of its size. Sizes become points at 96 pixels per
// inch, as on the screen.
void PointSizes(QTextDocument& doc) {
  QTextCursor c(&doc);
  c.beginEditBlock();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment part = it.fragment();
      QTextCharFormat format = part.charFormat();
      if (!format.hasProperty(QTextFormat::FontPixelSize)) continue;
      const int px = format.intProperty(QTextFormat::FontPixelSize);
      format.clearProperty(QTextFormat::FontPixelSize);
      format.setFontPointSize(px * 72.0 / 96.0);
      c.setPosition(part.position());
      c.setPosition(part.position() + part.length(), QTextCursor::KeepAnchor);
      c.setCharFormat(format);
    }
  }
  c.endEditBlock();
}

QString Colour(kv::CanvasColor c) {
  return QStringLiteral("#%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

}  // namespace

void TidyReportPage(QTextDocument& doc) {
  QTextCursor c(&doc);
  c.beginEditBlock();  // laid out once, at the end
  // The report's style sheet justifies its paragraphs, which Qt's CSS
  // reader does not support ("text-align: justify" is dropped and table
  // cells stay left-aligned): justify the left-aligned blocks, which on that
  // page are the paragraphs and what they hold.
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if ((b.blockFormat().alignment() & Qt::AlignHorizontal_Mask) == Qt::AlignLeft) {
      QTextBlockFormat f;
      f.setAlignment(Qt::AlignJustify);
      c.setPosition(b.position());
      c.mergeBlockFormat(f);
    }
    // A heading keeps its own enlargement beside a size in pixels from the
    // style sheet and is drawn by the enlargement: the style sheet's size
    // wins in a browser, so it wins here.
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment part = it.fragment();
      QTextCharFormat format = part.charFormat();
      // A picture that the page leaves without words is given them.
      if (format.isImageFormat() && !format.hasProperty(QTextFormat::ImageAltText)) {
        const QString alt = SignPictureText(format.toImageFormat().name());
        if (alt.isEmpty()) continue;
        format.setProperty(QTextFormat::ImageAltText, alt);
        c.setPosition(part.position());
        c.setPosition(part.position() + part.length(), QTextCursor::KeepAnchor);
        c.setCharFormat(format);
        continue;
      }
      if (!format.hasProperty(QTextFormat::FontPixelSize) ||
          !format.hasProperty(QTextFormat::FontSizeAdjustment))
        continue;
      format.clearProperty(QTextFormat::FontSizeAdjustment);
      c.setPosition(part.position());
      c.setPosition(part.position() + part.length(), QTextCursor::KeepAnchor);
      c.setCharFormat(format);
    }
  }
  c.endEditBlock();
}

std::unique_ptr<QTextDocument> ReportDocument(const QString& pageFile, QString* error) {
  QFile f(pageFile);
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = U("Не удаётся прочитать файл «%1»: %2").arg(pageFile, f.errorString());
    return nullptr;
  }
  const QByteArray bytes = f.readAll();
  // The page names its charset, as a browser reads it; ours is Windows-1251.
  QStringDecoder decode = QStringDecoder::decoderForHtml(bytes);
  const QString html = decode.isValid()
                           ? decode.decode(bytes)
                           : QString::fromStdString(kv::FromCp1251(bytes.toStdString()));
  auto doc = std::make_unique<QTextDocument>();
  // Its pictures are found beside it.
  doc->setMetaInformation(QTextDocument::DocumentUrl, QUrl::fromLocalFile(pageFile).toString());
  doc->setHtml(html);
  TidyReportPage(*doc);
  PointSizes(*doc);
  return doc;
}

std::unique_ptr<QTextDocument> CompatDocument(const kv::CompatInputs& in,
                                              const kv::TScanPoints& upper,
                                              const kv::TScanPoints& lower) {
  auto doc = std::make_unique<QTextDocument>();
  const QString birth = QStringLiteral("%1.%2.%3")
                            .arg(in.Day, 2, 10, QLatin1Char('0'))
                            .arg(in.Month, 2, 10, QLatin1Char('0'))
                            .arg(in.Year);
  // The years as the charts' strips name them.
  const auto years = [](const kv::TScanPoints& p) {
    return QStringLiteral("%1–%2").arg(p[50].Year).arg(p[200].Year);
  };
  const int height = kPaperChartWidth * kv::kChartHeight / kv::kChartWidth;
  QString html = U("<h2>Совместимость</h2>"
                   "<p>Дата рождения: <b>%1</b>. Каждый второй день %2–%3 годов оценён как день "
                   "рождения партнёра.</p>")
                     .arg(birth)
                     .arg(upper[50].Year)
                     .arg(lower[200].Year);
  int pass = 1;
  for (const kv::TScanPoints* points : {&upper, &lower}) {
    const QString name = QStringLiteral("kv-chart:%1").arg(pass);
    doc->addResource(QTextDocument::ImageResource, QUrl(name), ChartPicture(*points));
    html += U("<h3>%1 годы</h3><p><img src=\"%2\" width=\"%3\" height=\"%4\" alt=\"Совместимость "
              "по дням %1 годов\"></p>")
                .arg(years(*points), name)
                .arg(kPaperChartWidth)
                .arg(height);
    ++pass;
  }
  html += U("<h3>Условные обозначения</h3><p>"
            "<span style=\"color:%1\">■</span> Зелёный столбец вверх — благоприятный день "
            "рождения партнёра; <span style=\"color:%2\">■</span> красный вниз — "
            "неблагоприятный. Высота столбца — уровень совместимости от −70 до +70, "
            "чёрная линия посередине — ноль. Серые линии делят годы на месяцы, двойная — "
            "начало второго года.</p>")
              .arg(Colour(kv::kChartGreen), Colour(kv::kChartRed));
  doc->setHtml(html);
  // After the page, which would clear it.
  doc->setMetaInformation(
      QTextDocument::DocumentTitle,
      U("Совместимость %1 %2–%3").arg(birth).arg(upper[50].Year).arg(lower[200].Year));
  return doc;
}

std::unique_ptr<QTextDocument> LinesDocument(const QString& title, const QString& heading,
                                             const QStringList& lines) {
  auto doc = std::make_unique<QTextDocument>();
  QString html =
      QStringLiteral("<h3>%1</h3><pre style=\"font-size: 9pt\">").arg(heading.toHtmlEscaped());
  html += lines.join(QLatin1Char('\n')).toHtmlEscaped();
  html += QStringLiteral("</pre>");
  doc->setHtml(html);
  doc->setMetaInformation(QTextDocument::DocumentTitle, title);
  return doc;
}

QString WritePdf(const QTextDocument& doc, const QString& fileName) {
  QSaveFile f(fileName);
  if (!f.open(QIODevice::WriteOnly))
    return U("Не удаётся создать файл «%1»: %2").arg(fileName, f.errorString());
  {
    QPdfWriter pdf(&f);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    // The document brings its own margins and page numbers.
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(300);
    pdf.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
    pdf.setCreator(QStringLiteral("Korvella Love"));
    doc.print(&pdf);
  }
  if (!f.commit()) return U("Не удаётся записать файл «%1»: %2").arg(fileName, f.errorString());
  return {};
}

}  // namespace kvpaint
