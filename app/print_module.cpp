// The printing module of the window (see print_tabs.h): Qt Print Support,
// loaded at the first print.
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include "app/print_tabs.h"

extern "C" Q_DECL_EXPORT bool korvella_love_print_document(QTextDocument* doc, QWidget* parent,
                                                           bool preview, const char16_t* pdfFile) {
  QPrinter printer(QPrinter::HighResolution);
  const QString title = doc->metaInformation(QTextDocument::DocumentTitle);
  printer.setDocName(title);
  if (pdfFile) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromUtf16(pdfFile));
    doc->print(&printer);
    return printer.printerState() != QPrinter::Error;
  }
  if (preview) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр: ") + title);
    // Over the window, as large: a page is read there.
    if (parent) dialog.resize(parent->window()->size());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [doc](QPrinter* p) { doc->print(p); });
    return dialog.exec() == QDialog::Accepted;
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Печать: ") + title);
  if (dialog.exec() != QDialog::Accepted) return false;
  doc->print(&printer);
  return printer.printerState() != QPrinter::Error;
}
