// What assistive technologies are shown of both windows where Qt's own
// accessible interfaces fall short: a rich-text page read as a document of
// plain text, the main window as a frame, a radio button activated through
// the interface as a click would do it.
#pragma once

#include <QString>
#include <memory>
#include <vector>

class QAbstractButton;
class QAccessibleEvent;
class QTextDocument;
class QTextEdit;
class QWidget;

namespace kvapp {

// The view is a document: its text is read as the eye sees it.
void ExposeAsDocument(QTextEdit* view);

// The window is a frame named after its caption, without the caption's blanks.
void ExposeAsFrame(QWidget* window);

// The widget is a chart whose focused day is its value: the text of its
// property "valueText" (empty for none) and the number of its property
// "level" between -70 and 70. Its value change events reach the platform
// as changes of the accessible value.
void ExposeAsChart(QWidget* chart);

// The button's actions ("toggle", "press") click it: the handlers of its
// clicks run, as for a click of the mouse or the space bar. Only for a
// class of our own: Qt answers first for its own classes.
void ClickOnAction(QAbstractButton* button);

// The text of a page as a screen reader should read it: one paragraph a
// line, a line break as a line, a picture as its alternative text, blank
// paragraphs left out, and none of the characters the text document keeps
// for itself (frame boundaries, object placeholders, line separators).
// positions, when given, receives for each character of the text the
// position in the document that it stands for.
QString ReadableText(const QTextDocument& doc, std::vector<int>* positions = nullptr);

// An event as assistive technologies are told it: those of a document's
// caret and selection in the offsets of its readable text, a change of its
// text as the readable text before and after (in replacement), nothing when
// that did not change; any other event as it is.
QAccessibleEvent* ReadableEvent(QAccessibleEvent* e,
                                std::unique_ptr<QAccessibleEvent>& replacement);

}  // namespace kvapp
