// Printing and saving as PDF the result of the tab in front: Ctrl+P prints,
// Ctrl+Shift+P shows the print preview, Ctrl+S saves a PDF, and the four
// result tabs offer the same in their context menus. The documents are
// painter/documents.h's, the ones kvlove --pdf writes. Qt Print Support
// lives in the module korvella-love-print, loaded at the first print, so
// that the window's start does not load it; a PDF needs only QtGui.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <QTextDocument>
#include <functional>
#include <memory>

class QMenu;
class QTextEdit;
class QPlainTextEdit;

namespace kvapp {

class TZKV_LoveForm;

// The printing module's entry point: with pdfFile null it shows the print
// dialog, or the print preview, and prints from there; with a file name it
// prints into that PDF through Qt Print Support without asking (tests).
// False when nothing was printed (cancelled, or failed).
using PrintDocumentFn = bool (*)(QTextDocument* doc, QWidget* parent, bool preview,
                                 const char16_t* pdfFile);
inline constexpr char kPrintDocument[] = "korvella_love_print_document";
// Its file, beside the program, without the platform's suffix.
inline constexpr char kPrintModule[] = "korvella-love-print";

class PrintTabs : public QObject {
  Q_OBJECT
 public:
  explicit PrintTabs(TZKV_LoveForm& form);  // adds the actions
  // The menus of tabs 2 to 5, once they are built.
  void AttachMenus();

  QAction *PrintAction, *PreviewAction, *PdfAction;

  // The result of tab 0..4 as a document; null when the tab shows none.
  std::unique_ptr<QTextDocument> Document(int tab) const;
  // The name offered for its PDF: «Гороскоп Мария 15.06.1985.pdf».
  QString SuggestedName(int tab) const;

  // Ctrl+S on the tab in front: asks where, writes, and remembers the
  // folder. False when nothing was written.
  bool SavePdf();
  // Ctrl+P (preview false) or Ctrl+Shift+P.
  bool Print(bool preview);
  // Prints through the printing module into a PDF, without dialogs.
  bool PrintToFile(const QString& pdfFile);

  // Asks for the PDF's file, offering a path; empty when cancelled. Tests
  // answer without a modal dialog.
  std::function<QString(const QString& offered)> askPdfFile;
  // Where the printing module is: the program's own directory.
  QString moduleDir;

  // The settings value of the folder last saved to.
  static constexpr char kPdfDirValue[] = "rPdfDir";

  // The report's browser, made at the first report, gets the menu too.
  void AddMenu(QTextEdit* view);

 private:
  bool HasResult(int tab) const;
  std::unique_ptr<QTextDocument> CurrentDocument();  // says so when there is none
  bool PrintWith(bool preview, const QString& pdfFile);
  void ShowMenu(QWidget* w, const QPoint& pos, QMenu* menu);
  void AddMenu(QWidget* w);
  void AddMenu(QPlainTextEdit* view);
  QString PdfFolder() const;
  void RememberFolder(const QString& folder) const;
  TZKV_LoveForm& f_;
};

}  // namespace kvapp
