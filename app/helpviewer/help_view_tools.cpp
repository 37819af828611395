#include "app/helpviewer/help_view_tools.h"

#include <QImage>
#include <QPalette>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kv::help {

namespace {

// A format's own size, kept beside the one it is drawn in.
constexpr int kOwnPixelSize = QTextFormat::UserProperty + 1;
constexpr int kOwnPointSize = QTextFormat::UserProperty + 2;
constexpr int kOwnWidth = QTextFormat::UserProperty + 3;
constexpr int kOwnHeight = QTextFormat::UserProperty + 4;
// The document's own default font size.
constexpr char kOwnDefaultSize[] = "kvOwnDefaultPointSize";

}  // namespace

void ApplyZoom(QTextDocument* doc, int percent) {
  const qreal f = percent / 100.0;
  QVariant own = doc->property(kOwnDefaultSize);
  QFont font = doc->defaultFont();
  if (!own.isValid()) {
    own = font.pointSizeF();
    doc->setProperty(kOwnDefaultSize, own);
  }
  if (own.toReal() > 0) {
    font.setPointSizeF(own.toReal() * f);
    doc->setDefaultFont(font);
  }
  // Formats are changed through a cursor on each fragment; the undo stack
  // of a read-only page has no use.
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  QTextCursor c(doc);
  c.beginEditBlock();
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      QTextCharFormat fmt = frag.charFormat();
      bool changed = false;
      if (fmt.hasProperty(QTextFormat::FontPixelSize) || fmt.hasProperty(kOwnPixelSize)) {
        if (!fmt.hasProperty(kOwnPixelSize))
          fmt.setProperty(kOwnPixelSize, fmt.intProperty(QTextFormat::FontPixelSize));
        fmt.setProperty(QTextFormat::FontPixelSize,
                        qMax(1, qRound(fmt.intProperty(kOwnPixelSize) * f)));
        changed = true;
      }
      if (fmt.hasProperty(QTextFormat::FontPointSize) || fmt.hasProperty(kOwnPointSize)) {
        if (!fmt.hasProperty(kOwnPointSize))
          fmt.setProperty(kOwnPointSize, fmt.doubleProperty(QTextFormat::FontPointSize));
        fmt.setFontPointSize(fmt.doubleProperty(kOwnPointSize) * f);
        changed = true;
      }
      if (fmt.isImageFormat()) {
        QTextImageFormat img = fmt.toImageFormat();
        if (!img.hasProperty(kOwnWidth)) {
          // Without a size of its own a picture is drawn at the size it has.
          const QImage image =
              doc->resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
          img.setProperty(kOwnWidth, img.hasProperty(QTextFormat::ImageWidth)
                                         ? img.width()
                                         : qreal(image.width()));
          img.setProperty(kOwnHeight, img.hasProperty(QTextFormat::ImageHeight)
                                          ? img.height()
                                          : qreal(image.height()));
        }
        if (img.doubleProperty(kOwnWidth) > 0) img.setWidth(img.doubleProperty(kOwnWidth) * f);
        if (img.doubleProperty(kOwnHeight) > 0) img.setHeight(img.doubleProperty(kOwnHeight) * f);
        fmt = img;
        changed = true;
      }
      if (!changed) continue;
      c.setPosition(frag.position());
      c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
      c.setCharFormat(fmt);
    }
  }
  c.endEditBlock();
  doc->setUndoRedoEnabled(undo);
}

QList<QTextEdit::ExtraSelection> MarkWords(QTextDocument* doc, const QStringList& words) {
  QList<QTextEdit::ExtraSelection> marks;
  QTextCharFormat mark;
  mark.setBackground(QColor(0xff, 0xe0, 0x66));
  mark.setForeground(QColor(0x2b, 0x2b, 0x33));
  for (const QString& w : words) {
    // The search folds "ё" into "е"; both are marked.
    QString pattern = QStringLiteral("(?<![\\w])");
    for (const QChar ch : w)
      pattern += ch == u'е' ? QStringLiteral("[её]") : QRegularExpression::escape(QString(ch));
    const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::UseUnicodePropertiesOption);
    for (QTextCursor c = doc->find(re); !c.isNull(); c = doc->find(re, c)) {
      if (!c.hasSelection()) break;
      marks << QTextEdit::ExtraSelection{c, mark};
    }
  }
  std::sort(marks.begin(), marks.end(), [](const auto& a, const auto& b) {
    return a.cursor.selectionStart() < b.cursor.selectionStart();
  });
  return marks;
}

}  // namespace kv::help
