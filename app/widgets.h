// The few control kinds of the window that Qt lacks as such: a spin edit
// whose text is left as typed (the handlers convert it themselves), a list
// box that reports the line chosen, a picture control with a click, plain
// panels, the browser of the report, and the ring around the focused control.
#pragma once

#include <QAbstractSpinBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QTextBrowser>
#include <cstdint>
#include <stdexcept>

namespace kvapp {

// A text of our own, written in UTF-8 in the sources.
inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A field that holds no whole number when its tab's button reads it; the
// message names the field, what it holds and what it takes (UTF-8).
struct FieldError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Like the classic spin edit: digits, a sign and blanks may be typed, an
// empty or half-typed text stays as it is until a handler converts it.
// Arrows and keys step within the range; leaving the control clamps a
// whole number to the range.
class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
  // What Qt's accessible spin box reads: the value (none while the text is
  // not a whole number) and the range.
  Q_PROPERTY(QVariant value READ accessibleValue WRITE setAccessibleValue)
  Q_PROPERTY(int minimum READ minimum)
  Q_PROPERTY(int maximum READ maximum)
  Q_PROPERTY(int stepSize READ stepSize)
 public:
  explicit TSpinEdit(QWidget* parent = nullptr);
  void setRange(int lo, int hi);
  int minimum() const { return min_; }
  int maximum() const { return max_; }
  int stepSize() const { return 1; }
  void setValue(int v);
  void setText(const QString& t);
  // The value the field starts with, and that «Сбросить» brings back.
  void setDefaultValue(int v);
  int defaultValue() const { return default_; }
  // How the messages name it: the caption it stands under ("Год") and what
  // it asks for ("год": «введите год от 1900 до 2100»).
  void setField(const QString& label, const QString& what);
  // The whole number the field holds, as the handlers read it: FieldError
  // «Год: «» — не целое число; введите год от 1900 до 2100» otherwise.
  std::int32_t Value() const;
  QVariant accessibleValue() const;
  void setAccessibleValue(const QVariant& v);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 signals:
  void changed();  // any change of the text

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  bool ParsedValue(int& v) const;
  int min_ = 0, max_ = 100, default_ = 0;
  QString label_, what_;
};

// A list box whose lineChosen() comes as the classic list box's click does:
// when the chosen line changes, by mouse, arrow keys or program, when the
// chosen line is clicked again, and on Return. Emptying the list sends nothing.
class TListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TListBox(QWidget* parent = nullptr);
  // The line chosen (selected), which is not always the one under the
  // cursor: assistive technologies select without moving the cursor.
  int ChosenRow() const;
 signals:
  void lineChosen();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  int pressedOn_ = -1;  // the line chosen when the mouse went down
};

// A radio button of a group: activated through the accessibility interface
// it is clicked, so that the group's handler runs, as for the mouse or Space.
class TRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  explicit TRadioButton(const QString& text, QWidget* parent = nullptr);
};

// A picture control: shows an image scaled to nothing (drawn 1:1 from the
// top left) and reports clicks.
class TImage : public QLabel {
  Q_OBJECT
 public:
  explicit TImage(QWidget* parent = nullptr);
  void setImage(const QImage& img);
 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
};

// A panel: a frame with a one-pixel border and an optional caption.
class TPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TPanel(QWidget* parent = nullptr, bool border = true);
  void setCaption(const QString& text, Qt::Alignment align = Qt::AlignCenter);
  QString caption() const;

 private:
  QLabel* caption_ = nullptr;
};

// The browser of the report page: Qt's rich-text browser, which reads the
// page's declared charset and its pictures from disk and runs no scripts.
// Links open in the user's own browser.
class TWebBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit TWebBrowser(QWidget* parent = nullptr);
  // Shows a local file, read afresh even when it is the page already shown.
  void Navigate(const QString& fileName);
  QVariant loadResource(int type, const QUrl& name) override;

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

 private:
  void OpenLink(const QUrl& link);
};

// A bright ring around the control that has the keyboard focus in a window,
// drawn over everything else: the style's own focus marks are hard to see on
// the dark pictures. Light outside, dark inside, so it shows on any ground.
class TFocusRing : public QWidget {
  Q_OBJECT
 public:
  explicit TFocusRing(QWidget* window);
  QWidget* target() const { return target_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Follow(QWidget* focused);
  void Place();
  QPointer<QWidget> target_;
  QMetaObject::Connection tabChanged_;  // a tab bar's ring goes round its current tab
};

}  // namespace kvapp
