// What the viewer does to a page once it is laid out: its zoom, and the
// marks on the words of a search.
#pragma once

#include <QList>
#include <QStringList>
#include <QTextEdit>

class QTextDocument;

namespace kv::help {

// The zoom steps, in per cent; kDefaultZoom is 100 %.
inline constexpr int kZoomSteps[] = {50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
inline constexpr int kDefaultZoom = 4;

// Scales the page's text and pictures to `percent` of their own size. The
// pages give their fonts in pixels, which a browser's own zoom leaves alone.
// Each format keeps its own size beside it, so the page can be scaled
// again to any size, and a fresh page is scaled from its own sizes.
void ApplyZoom(QTextDocument* doc, int percent);

// Every place where a word of the search begins a word of the page, marked.
QList<QTextEdit::ExtraSelection> MarkWords(QTextDocument* doc, const QStringList& words);

}  // namespace kv::help
