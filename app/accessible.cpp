#include "accessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <memory>

namespace kvapp {

namespace {

// Which of our interfaces a widget gets, kept in a property of the widget:
// the factory is asked about every object and must answer fast.
constexpr char kKind[] = "kvAccessibleKind";
enum Kind { kDocument = 1, kFrame, kClickable, kChart };

// What every interface of ours is, besides Qt's.
struct Ours {
  virtual ~Ours() = default;
};

// A text view read as a document: the readable text, with each of its
// characters tied to its position in the text document for the caret,
// the selection and the geometry.
class DocumentInterface : public QAccessibleWidget, public QAccessibleTextInterface, public Ours {
 public:
  explicit DocumentInterface(QTextEdit* view)
      : QAccessibleWidget(view, QAccessible::Document), stale_(std::make_shared<bool>(true)) {
    // Read again after every change of the page, not at every question.
    QObject::connect(view, &QTextEdit::textChanged, view, [stale = stale_] { *stale = true; });
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.selectableText = true;
    return s;
  }

  // selection
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    const QTextCursor c = View()->textCursor();
    if (index != 0 || !c.hasSelection()) return;
    *start = Offset(c.selectionStart());
    *end = Offset(c.selectionEnd());
  }
  int selectionCount() const override { return View()->textCursor().hasSelection() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index != 0) return;
    QTextCursor c = View()->textCursor();
    c.clearSelection();
    View()->setTextCursor(c);
  }
  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    QTextCursor c = View()->textCursor();
    c.setPosition(Position(start));
    c.setPosition(Position(end), QTextCursor::KeepAnchor);
    View()->setTextCursor(c);
  }

  // cursor
  int cursorPosition() const override { return Offset(View()->textCursor().position()); }
  void setCursorPosition(int offset) override {
    QTextCursor c = View()->textCursor();
    c.setPosition(Position(offset));
    View()->setTextCursor(c);
  }

  // The offset in the readable text of a position in the document.
  int Offset(int position) const {
    Text();
    return static_cast<int>(std::lower_bound(positions_.begin(), positions_.end(), position) -
                            positions_.begin());
  }
  // The text as last read, and as it is now.
  std::pair<QString, QString> Reread() {
    QString before = text_;
    *stale_ = true;
    return {std::move(before), Text()};
  }

  // text
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Text();
    return QAccessibleWidget::text(t);
  }
  QString text(int start, int end) const override {
    const QString& s = Text();
    start = std::clamp(start, 0, static_cast<int>(s.size()));
    end = std::clamp(end, start, static_cast<int>(s.size()));
    return s.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Text().size()); }

  QRect characterRect(int offset) const override {
    if (offset < 0 || offset >= characterCount()) return {};
    QTextCursor c(View()->document());
    c.setPosition(Position(offset));
    QRect r = View()->cursorRect(c);
    c.movePosition(QTextCursor::NextCharacter);
    const QRect next = View()->cursorRect(c);
    if (next.top() == r.top() && next.left() > r.left()) r.setRight(next.left() - 1);
    return QRect(View()->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = View()->viewport()->mapFromGlobal(point);
    if (!View()->viewport()->rect().contains(local)) return -1;
    return Offset(View()->cursorForPosition(local).position());
  }
  void scrollToSubstring(int start, int end) override {
    setSelection(0, start, end);
    View()->ensureCursorVisible();
  }
  QString attributes(int offset, int* start, int* end) const override {
    // Plain text: one run without attributes.
    *start = 0;
    *end = std::max(characterCount(), offset);
    return {};
  }

 private:
  QTextEdit* View() const { return static_cast<QTextEdit*>(widget()); }

  const QString& Text() const {
    if (*stale_) {
      text_ = ReadableText(*View()->document(), &positions_);
      *stale_ = false;
    }
    return text_;
  }
  int Position(int offset) const {
    Text();
    if (positions_.empty()) return 0;
    if (offset < 0 || offset >= static_cast<int>(positions_.size()))
      return View()->document()->characterCount() - 1;
    return positions_[static_cast<std::size_t>(offset)];
  }
  std::shared_ptr<bool> stale_;
  mutable QString text_;
  mutable std::vector<int> positions_;
};

// The main window: a frame, named by its caption without the blanks that
// centre it in the title bar.
class FrameInterface : public QAccessibleWidget, public Ours {
 public:
  explicit FrameInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
      return widget()->windowTitle().trimmed();
    return QAccessibleWidget::text(t);
  }
};

// A check or radio button whose actions click it. Qt's own interface only
// toggles its state, which checks the button without the handler of the
// click: a month chosen through the interface would show no days.
class ClickableInterface : public QAccessibleWidget, public Ours {
 public:
  explicit ClickableInterface(QAbstractButton* b)
      : QAccessibleWidget(b, qobject_cast<QRadioButton*>(b) ? QAccessible::RadioButton
                             : b->isCheckable()             ? QAccessible::CheckBox
                                                            : QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    QString s = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && s.isEmpty()) s = Button()->text().remove(u'&').trimmed();
    return s;
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = Button()->isCheckable();
    s.checked = Button()->isChecked();
    return s;
  }
  QStringList actionNames() const override {
    QStringList names;
    if (Button()->isEnabled()) names << pressAction() << toggleAction();
    return names + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == pressAction() || action == toggleAction()) {
      if (Button()->isEnabled()) Button()->click();
      return;
    }
    QAccessibleWidget::doAction(action);
  }
  QStringList keyBindingsForAction(const QString& action) const override {
    if (action == pressAction() || action == toggleAction()) return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(action);
  }

 private:
  QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// A chart with a keyboard cursor: its value is the day at the cursor, as
// text and as the day's level.
class ChartInterface : public QAccessibleWidget, public QAccessibleValueInterface, public Ours {
 public:
  explicit ChartInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Chart) {}
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return widget()->property("valueText").toString();
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return widget()->property("level"); }
  void setCurrentValue(const QVariant&) override {}  // the cursor moves by keys only
  QVariant maximumValue() const override { return 70; }
  QVariant minimumValue() const override { return -70; }
  QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  const QVariant kind = object->property(kKind);
  if (!kind.isValid()) return nullptr;
  switch (kind.toInt()) {
    case kDocument:
      if (auto* view = qobject_cast<QTextEdit*>(object)) return new DocumentInterface(view);
      break;
    case kFrame: return new FrameInterface(static_cast<QWidget*>(object));
    case kChart: return new ChartInterface(static_cast<QWidget*>(object));
    case kClickable:
      if (auto* b = qobject_cast<QAbstractButton*>(object)) return new ClickableInterface(b);
      break;
    default: break;
  }
  return nullptr;
}

QAccessible::UpdateHandler previousHandler = nullptr;

// Every event goes on through here, those of a document's text in the
// offsets of its readable text.
void Translate(QAccessibleEvent* e) {
  std::unique_ptr<QAccessibleEvent> replaced;
  e = ReadableEvent(e, replaced);
  if (!e) return;
  if (previousHandler) {
    previousHandler(e);
    return;
  }
  // Without a handler before ours the event goes to the platform's bridge;
  // then whichever handler was in place (one installed after ours too) is again.
  const QAccessible::UpdateHandler current = QAccessible::installUpdateHandler(nullptr);
  QAccessible::updateAccessibility(e);
  QAccessible::installUpdateHandler(current);
}

// Installed by the first widget that needs it: nothing before the window.
void Mark(QWidget* w, Kind kind) {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    previousHandler = QAccessible::installUpdateHandler(Translate);
    return true;
  }();
  (void)installed;
  w->setProperty(kKind, kind);
  // An interface that Qt made before (an event of the widget's own
  // construction) gives way to ours.
  QAccessibleInterface* made = QAccessible::queryAccessibleInterface(w);
  if (made && !dynamic_cast<Ours*>(made))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace

QAccessibleEvent* ReadableEvent(QAccessibleEvent* e,
                                std::unique_ptr<QAccessibleEvent>& replacement) {
  QObject* o = e->object();
  if (!o || o->property(kKind).toInt() != kDocument) return e;
  auto* doc = dynamic_cast<DocumentInterface*>(QAccessible::queryAccessibleInterface(o));
  if (!doc) return e;
  switch (e->type()) {
    case QAccessible::TextSelectionChanged: {
      auto* s = static_cast<QAccessibleTextSelectionEvent*>(e);
      if (s->selectionStart() >= 0)
        s->setSelection(doc->Offset(s->selectionStart()), doc->Offset(s->selectionEnd()));
      s->setCursorPosition(doc->Offset(s->cursorPosition()));
      return e;
    }
    case QAccessible::TextCaretMoved: {
      auto* c = static_cast<QAccessibleTextCursorEvent*>(e);
      c->setCursorPosition(doc->Offset(c->cursorPosition()));
      return e;
    }
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated: {
      // The document's own change carries its characters and positions:
      // told instead as the readable text before and after, if it changed.
      auto [before, after] = doc->Reread();
      if (before == after) return nullptr;
      replacement = std::make_unique<QAccessibleTextUpdateEvent>(o, 0, before, after);
      return replacement.get();
    }
    default: return e;
  }
}

void ExposeAsDocument(QTextEdit* view) { Mark(view, kDocument); }
void ExposeAsFrame(QWidget* window) { Mark(window, kFrame); }
void ExposeAsChart(QWidget* chart) { Mark(chart, kChart); }
void ClickOnAction(QAbstractButton* button) { Mark(button, kClickable); }

QString ReadableText(const QTextDocument& doc, std::vector<int>* positions) {
  QString out;
  std::vector<int> pos;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    QString line;
    std::vector<int> linePos;
    const auto put = [&](QChar c, int at) {
      line += c;
      linePos.push_back(at);
    };
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment part = it.fragment();
      const QString text = part.text();
      const QTextCharFormat format = part.charFormat();
      if (format.isImageFormat()) {
        // A picture is read by its alternative text, or by its title.
        QString alt = format.stringProperty(QTextFormat::ImageAltText).trimmed();
        if (alt.isEmpty()) alt = format.stringProperty(QTextFormat::ImageTitle).trimmed();
        if (alt.isEmpty()) continue;
        for (int k = 0; k < text.size(); ++k) {
          put(u' ', part.position() + k);
          for (QChar c : alt) put(c, part.position() + k);
          put(u' ', part.position() + k);
        }
        continue;
      }
      for (int k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        switch (c.unicode()) {
          case 0xFDD0:  // beginning and end of a frame
          case 0xFDD1:
          case QChar::ObjectReplacementCharacter: break;
          case QChar::LineSeparator:
          case QChar::ParagraphSeparator: put(u'\n', part.position() + k); break;
          case QChar::Nbsp: put(u' ', part.position() + k); break;
          default: put(c, part.position() + k); break;
        }
      }
    }
    // Blanks as the eye sees them: one between words, none around a line.
    QString tidy;
    std::vector<int> tidyPos;
    for (std::size_t k = 0; k < linePos.size(); ++k) {
      const QChar c = line[static_cast<qsizetype>(k)];
      if (c.isSpace() && c != u'\n') {
        if (tidy.isEmpty() || tidy.back().isSpace()) continue;
        tidy += u' ';
      } else {
        if (c == u'\n' && (tidy.isEmpty() || tidy.back() == u'\n')) continue;  // no empty lines
        if (c == u'\n' && tidy.back() == u' ') {
          tidy.chop(1);
          tidyPos.pop_back();
        }
        tidy += c;
      }
      tidyPos.push_back(linePos[k]);
    }
    while (!tidy.isEmpty() && tidy.back().isSpace()) {
      tidy.chop(1);
      tidyPos.pop_back();
    }
    line = std::move(tidy);
    linePos = std::move(tidyPos);
    if (line.isEmpty()) continue;
    if (!out.isEmpty()) {
      out += u'\n';
      pos.push_back(b.position() - 1);
    }
    out += line;
    pos.insert(pos.end(), linePos.begin(), linePos.end());
  }
  if (positions) *positions = std::move(pos);
  return out;
}

}  // namespace kvapp
