// The printing module of kvlove-help (see help_print.h).
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "app/helpviewer/help_print.h"

extern "C" Q_DECL_EXPORT bool kvlove_help_print_page(QTextDocument* doc, QWidget* parent,
                                                     const char16_t* pdfFile) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(doc->metaInformation(QTextDocument::DocumentTitle));
  if (pdfFile) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromUtf16(pdfFile));
  } else {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Печать страницы справки"));
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  // The page as the reader sees it, zoom included, on the printer's pages.
  doc->print(&printer);
  return printer.printerState() != QPrinter::Error;
}
