#include "widgets.h"

#include "app/helpviewer/outside_link.h"

#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "accessible.h"
#include "core/text.h"
#include "painter/documents.h"

namespace kvapp {

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::changed);
  connect(this, &TSpinEdit::changed, this, [this] {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent e(this, accessibleValue());
    QAccessible::updateAccessibility(&e);
  });
}

void TSpinEdit::setRange(int lo, int hi) {
  min_ = lo;
  max_ = hi;
}

void TSpinEdit::setValue(int v) { setText(QString::number(v)); }

void TSpinEdit::setText(const QString& t) {
  if (lineEdit()->text() != t) lineEdit()->setText(t);
}

void TSpinEdit::setDefaultValue(int v) {
  default_ = v;
  setValue(v);
}

void TSpinEdit::setField(const QString& label, const QString& what) {
  label_ = label;
  what_ = what;
}

std::int32_t TSpinEdit::Value() const {
  int v;
  if (ParsedValue(v)) return v;
  // A field may hold thousands of digits; the message shows their beginning.
  constexpr qsizetype kShown = 40;
  QString typed = lineEdit()->text();
  if (typed.size() > kShown) typed = typed.left(kShown) + QStringLiteral("…");
  throw FieldError(QStringLiteral("%1: «%2» — не целое число; введите %3 от %4 до %5")
                       .arg(label_, typed, what_, QString::number(min_), QString::number(max_))
                       .toStdString());
}

QVariant TSpinEdit::accessibleValue() const {
  int v;
  return ParsedValue(v) ? QVariant(v) : QVariant();
}

void TSpinEdit::setAccessibleValue(const QVariant& v) {
  bool ok = false;
  const int n = v.toInt(&ok);
  if (ok) setValue(std::clamp(n, min_, max_));
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
  const auto skip = [&](auto pred) {
    while (i < input.size() && pred(input[i])) ++i;
  };
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

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (ChosenRow() >= 0) emit lineChosen();
  });
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (row(item) == pressedOn_) emit lineChosen();  // a new line came with its selection
  });
}

int TListBox::ChosenRow() const {
  const QList<QListWidgetItem*> chosen = selectedItems();
  return chosen.isEmpty() ? -1 : row(chosen.first());
}

void TListBox::mousePressEvent(QMouseEvent* e) {
  pressedOn_ = ChosenRow();
  QListWidget::mousePressEvent(e);
}

void TListBox::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (!enter || currentRow() < 0) {
    QListWidget::keyPressEvent(e);
    return;
  }
  // Return chooses the line under the cursor, or shows the chosen one again.
  if (ChosenRow() == currentRow())
    emit lineChosen();
  else
    setCurrentRow(currentRow(), QItemSelectionModel::ClearAndSelect);
}

TRadioButton::TRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
  ClickOnAction(this);
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
  ExposeAsDocument(this);
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
  document()->setDocumentMargin(8);  // a browser's margin around the page
  kvpaint::TidyReportPage(*document());
}

QVariant TWebBrowser::loadResource(int type, const QUrl& name) {
  // On a screen of more than one device pixel per pixel a picture NAME.EXT
  // is taken from NAME@2x.EXT beside it where there is one, drawn at twice
  // the size: the page keeps its geometry and the picture stays sharp.
  if (type == QTextDocument::ImageResource && devicePixelRatioF() > 1) {
    const QUrl url = source().resolved(name);
    if (url.isLocalFile()) {
      const QFileInfo file(url.toLocalFile());
      if (!file.completeBaseName().endsWith(QLatin1String("@2x"))) {
        const QString sharp = file.path() + QLatin1Char('/') + file.completeBaseName() +
                              QStringLiteral("@2x.") + file.suffix();
        QImage image;
        if (QFileInfo::exists(sharp) && image.load(sharp)) {
          image.setDevicePixelRatio(2);
          return image;
        }
      }
    }
  }
  return QTextBrowser::loadResource(type, name);
}

void TWebBrowser::OpenLink(const QUrl& link) {
  // A place on this page is scrolled to; anything else is not ours to show.
  const QUrl url = source().resolved(link);
  if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == source())
    scrollToAnchor(url.fragment());
  else if (const QUrl outside = kv::help::OutsideLink(url); !outside.isEmpty())
    QDesktopServices::openUrl(outside);  // a website or a mail program, nothing else
}

TFocusRing::TFocusRing(QWidget* window) : QWidget(window) {
  setObjectName(QStringLiteral("FocusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
}

void TFocusRing::Follow(QWidget* focused) {
  if (target_) target_->removeEventFilter(this);
  disconnect(tabChanged_);
  target_ = nullptr;
  if (!focused || focused->window() != parentWidget()->window() || focused == parentWidget()) {
    hide();
    return;
  }
  target_ = focused;
  target_->installEventFilter(this);
  if (auto* bar = qobject_cast<QTabBar*>(focused))
    tabChanged_ = connect(bar, &QTabBar::currentChanged, this, &TFocusRing::Place);
  Place();
}

constexpr int kRingWidth = 3;

void TFocusRing::Place() {
  if (!target_ || !target_->isVisible()) {
    hide();
    return;
  }
  QRect r = target_->rect();
  if (auto* bar = qobject_cast<QTabBar*>(target_.data())) r = bar->tabRect(bar->currentIndex());
  r.moveTopLeft(target_->mapTo(parentWidget(), r.topLeft()));
  setGeometry(r.adjusted(-kRingWidth, -kRingWidth, kRingWidth, kRingWidth));
  setMask(QRegion(rect()).subtracted(
      QRegion(rect().adjusted(kRingWidth, kRingWidth, -kRingWidth, -kRingWidth))));
  raise();
  show();
  update();
}

bool TFocusRing::eventFilter(QObject* o, QEvent* e) {
  if (o == target_) {
    switch (e->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide: Place(); break;
      default: break;
    }
  }
  return QWidget::eventFilter(o, e);
}

void TFocusRing::paintEvent(QPaintEvent*) {
  // Only the ring is ours (the mask); the control shows through inside it.
  QPainter p(this);
  p.fillRect(rect(), QColor(0xFF, 0xC4, 0x00));
  p.fillRect(rect().adjusted(kRingWidth - 1, kRingWidth - 1, 1 - kRingWidth, 1 - kRingWidth),
             QColor(0x10, 0x10, 0x10));
}

}  // namespace kvapp
