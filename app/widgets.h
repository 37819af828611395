// The few control kinds of the window that Qt lacks as such: a spin edit
// whose text is left as typed (the handlers convert it themselves), a
// picture control with a click, plain panels, and the browser of the report.
#pragma once

#include <QAbstractSpinBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QTextBrowser>

namespace kvapp {

// Like the classic spin edit: digits, a sign and blanks may be typed, an
// empty or half-typed text stays as it is until a handler converts it.
// Arrows and keys step within the range; leaving the control clamps a
// whole number to the range.
class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
 public:
  explicit TSpinEdit(QWidget* parent = nullptr);
  void setRange(int lo, int hi);
  int minimum() const { return min_; }
  int maximum() const { return max_; }
  void setValue(int v);
  void setText(const QString& t);

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
  int min_ = 0, max_ = 100;
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

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

 private:
  void OpenLink(const QUrl& link);
};

}  // namespace kvapp
