#include "widgets.h"

#include <QDesktopServices>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/text.h"

namespace kvapp {

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::changed);
}

void TSpinEdit::setRange(int lo, int hi) {
  min_ = lo;
  max_ = hi;
}

void TSpinEdit::setValue(int v) { setText(QString::number(v)); }

void TSpinEdit::setText(const QString& t) {
  if (lineEdit()->text() != t) lineEdit()->setText(t);
}

bool TSpinEdit::ParsedValue(int& v) const {
  try {
    v = kv::StrToInt(lineEdit()->text().toStdString());
    return true;
  } catch (const kv::ConvertError&) {
    return false;
  }
}

void TSpinEdit::stepBy(int steps) {
  int v;
  if (!ParsedValue(v)) v = min_;
  const long long n = static_cast<long long>(v) + steps;
  setValue(static_cast<int>(std::clamp<long long>(n, min_, max_)));
  selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
  int v;
  if (!ParsedValue(v)) return StepUpEnabled | StepDownEnabled;
  StepEnabled e = StepNone;
  if (v < max_) e |= StepUpEnabled;
  if (v > min_) e |= StepDownEnabled;
  return e;
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
  // Blanks, a sign, blanks, digits, blanks; scanned by hand, as a regular
  // expression would cost its library at every start.
  qsizetype i = 0;
  const auto skip = [&](auto pred) { while (i < input.size() && pred(input[i])) ++i; };
  const auto blank = [](QChar c) { return c == QLatin1Char(' '); };
  skip(blank);
  if (i < input.size() && (input[i] == QLatin1Char('-') || input[i] == QLatin1Char('+'))) ++i;
  skip(blank);
  skip([](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
  skip(blank);
  return i == input.size() ? QValidator::Acceptable : QValidator::Invalid;
}

void TSpinEdit::fixup(QString&) const {}

void TSpinEdit::focusOutEvent(QFocusEvent* e) {
  int v;
  if (ParsedValue(v) && (v < min_ || v > max_)) setValue(std::clamp(v, min_, max_));
  QAbstractSpinBox::focusOutEvent(e);
}

TImage::TImage(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setScaledContents(false);
}

void TImage::setImage(const QImage& img) { setPixmap(QPixmap::fromImage(img)); }

void TImage::mousePressEvent(QMouseEvent* e) {
  QLabel::mousePressEvent(e);
  if (e->button() == Qt::LeftButton) emit clicked();
}

TPanel::TPanel(QWidget* parent, bool border) : QFrame(parent) {
  if (border) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(1);
  }
  setAutoFillBackground(true);
}

void TPanel::setCaption(const QString& text, Qt::Alignment align) {
  if (!caption_) {
    caption_ = new QLabel(this);
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAlignment(align);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(1, 1, 1, 1);
    l->addWidget(caption_);
  }
  caption_->setText(text);
}

QString TPanel::caption() const { return caption_ ? caption_->text() : QString(); }

TWebBrowser::TWebBrowser(QWidget* parent) : QTextBrowser(parent) {
  setFrameShape(QFrame::NoFrame);
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &TWebBrowser::OpenLink);
}

void TWebBrowser::Navigate(const QString& fileName) {
  const QUrl url = QUrl::fromLocalFile(fileName);
  if (source() == url)
    reload();  // setSource would keep the page it has
  else
    setSource(url);
}

void TWebBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
  QTextBrowser::doSetSource(name, type);
  QTextCursor c(document());
  c.beginEditBlock();  // laid out once, at the end
  document()->setDocumentMargin(8);  // a browser's margin around the page
  // The report's style sheet justifies its paragraphs, which Qt's CSS
  // reader does not support ("text-align: justify" is dropped and table
  // cells stay left-aligned): justify the left-aligned blocks, which on that
  // page are the paragraphs and what they hold.
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    if ((b.blockFormat().alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignLeft) continue;
    QTextBlockFormat f;
    f.setAlignment(Qt::AlignJustify);
    c.setPosition(b.position());
    c.mergeBlockFormat(f);
  }
  c.endEditBlock();
}

void TWebBrowser::OpenLink(const QUrl& link) {
  // A place on this page is scrolled to; anything else is not ours to show.
  const QUrl url = source().resolved(link);
  if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == source())
    scrollToAnchor(url.fragment());
  else
    QDesktopServices::openUrl(url);
}

}  // namespace kvapp
