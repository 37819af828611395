// Printing a page of help: Qt Print Support lives in a module of its own,
// loaded at the first print, so the viewer's start does not load it.
#pragma once

#include <QString>

class QTextDocument;
class QWidget;

namespace kv::help {

// The module's entry point: with `pdfFile` null it asks for a printer in
// the print dialog and prints there; with a file name it writes a PDF
// without asking. False when nothing was printed (cancelled, or failed).
using PrintPageFn = bool (*)(QTextDocument* doc, QWidget* parent, const char16_t* pdfFile);
inline constexpr char kPrintPage[] = "kvlove_help_print_page";
// Its file, beside kvlove-help, without the platform's suffix.
inline constexpr char kPrintModule[] = "kvlove-help-print";

// The entry point of the module in `dir` (the program's); null with `error`
// set when it cannot be loaded. It stays loaded until the process ends.
PrintPageFn LoadPrintModule(const QString& dir, QString* error);

}  // namespace kv::help
