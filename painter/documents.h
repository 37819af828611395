// The results as documents to print or to save as PDF: one maker for each,
// used by the window and by kvlove's --pdf alike. Needs a QGuiApplication
// (fonts, pictures); nothing here needs Qt Print Support: a QPdfWriter is
// QtGui's.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <memory>

#include "compat/scan.h"

namespace kvpaint {

// What the report's browser does to the page after loading it: justified
// paragraphs, the style sheet's heading sizes, words for the sign pictures.
void TidyReportPage(QTextDocument& doc);

// The report page written to pageFile (its declared charset, its pictures
// beside it), tidied as the browser shows it. Null with error set when the
// file cannot be read.
std::unique_ptr<QTextDocument> ReportDocument(const QString& pageFile, QString* error);

// The two compatibility charts of a finished run with the birth date, the
// years of each chart and a legend; the charts are drawn again from the
// points, sharp on paper.
std::unique_ptr<QTextDocument> CompatDocument(const kv::CompatInputs& in,
                                              const kv::TScanPoints& upper,
                                              const kv::TScanPoints& lower);

// A heading over lines kept as they are, in a fixed-width font: the lunar
// calendar's text, the eclipse list.
std::unique_ptr<QTextDocument> LinesDocument(const QString& title, const QString& heading,
                                             const QStringList& lines);

// Writes doc as an A4 PDF; the file is replaced only when the whole PDF is
// written. Empty, or what went wrong and where (Russian).
QString WritePdf(const QTextDocument& doc, const QString& fileName);

}  // namespace kvpaint
