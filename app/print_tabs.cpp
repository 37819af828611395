#include "print_tabs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTextEdit>

#include "KV_Love.h"
#include "compat/scan.h"
#include "painter/documents.h"
#include "place_tabs.h"
#include "platform.h"

namespace kvapp {

namespace {

enum Tab { kStart, kCompat, kReport, kLunar, kEclipses };

// A name the file systems take: no separators, no characters Windows
// refuses, no control characters, not too long.
QString FileNameOf(const QString& title) {
  QString s;
  for (const QChar c : title)
    s += c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c) ? u'_'
                                                                                           : c;
  s = s.simplified().left(120);
  return s + QStringLiteral(".pdf");
}

const QRegularExpression& DatePattern() {
  static const QRegularExpression date(QStringLiteral("\\d\\d\\.\\d\\d\\.-?\\d+"));
  return date;
}

}  // namespace

PrintTabs::PrintTabs(TZKV_LoveForm& form) : QObject(&form), f_(form) {
  moduleDir = QCoreApplication::applicationDirPath();
  askPdfFile = [this](const QString& offered) {
    return QFileDialog::getSaveFileName(&f_, U("Сохранить в PDF"), offered,
                                        U("Документы PDF (*.pdf)"));
  };
  const auto make = [this](const char* text, const QKeySequence& key, const char* tip) {
    auto* a = new QAction(U(text), &f_);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setToolTip(U(tip));
    a->setStatusTip(U(tip));
    f_.addAction(a);
    return a;
  };
  PrintAction = make("Печать…", QKeySequence::Print, "Печать результата этой вкладки");
  PreviewAction = make("Предварительный просмотр…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                       "Как результат этой вкладки ляжет на страницы, и печать оттуда");
  PdfAction =
      make("Сохранить в PDF…", QKeySequence::Save, "Сохранение результата этой вкладки в файл PDF");
  connect(PrintAction, &QAction::triggered, this, [this] { Print(false); });
  connect(PreviewAction, &QAction::triggered, this, [this] { Print(true); });
  connect(PdfAction, &QAction::triggered, this, [this] { SavePdf(); });
}

void PrintTabs::AttachMenus() {
  for (QWidget* tab : {f_.TabSheet2, f_.TabSheet3, f_.TabSheet4, f_.TabSheet5}) AddMenu(tab);
  AddMenu(f_.Memo1);
}

bool PrintTabs::HasResult(int tab) const {
  switch (tab) {
    case kCompat:
      return f_.compatFinished && !f_.compatRunning() && !f_.Panel8->isHidden() &&
             !f_.Panel2->isHidden();
    case kReport: return f_.WebBrowser2 && !f_.Panel1->isHidden();
    case kLunar: {
      const QString text = f_.Memo1->toPlainText();
      return !text.trimmed().isEmpty() && text != TZKV_LoveForm::LunarHint();
    }
    case kEclipses: return !f_.ListBox2->isHidden() && f_.ListBox2->count() > 0;
    default: return false;
  }
}

QString PrintTabs::SuggestedName(int tab) const {
  switch (tab) {
    case kCompat: {
      const kv::CompatInputs& in = f_.compatInputs;
      return FileNameOf(U("Совместимость %1.%2.%3 %4–%5")
                            .arg(in.Day, 2, 10, QLatin1Char('0'))
                            .arg(in.Month, 2, 10, QLatin1Char('0'))
                            .arg(in.Year)
                            .arg(in.StartYear)
                            .arg(in.StartYear + 3));
    }
    case kReport: {
      const QString name = f_.reportName.simplified();
      return FileNameOf(U("Гороскоп ") + (name.isEmpty() ? QString() : name + u' ') +
                        f_.reportDate);
    }
    case kLunar: {
      const QString text = f_.Memo1->toPlainText();
      // A lunar day's description begins with its start.
      const qsizetype start = text.indexOf(U("Начало лунного дня"));
      // A phase table is of the year it was made for, whatever the field says
      // now; one an earlier run left in the file has no year known.
      if (start < 0)
        return FileNameOf(U("Лунный календарь") +
                          (f_.phaseListing_ ? u' ' + QString::number(f_.phaseYear_) : QString()));
      const QString date = DatePattern().match(text, start).captured();
      const int row = f_.ListBox1->ChosenRow();
      const QListWidgetItem* chosen = row >= 0 ? f_.ListBox1->item(row) : nullptr;
      const QString line = chosen && chosen->text().contains(date) ? chosen->text() : QString();
      const QString number = line.section(u' ', 0, 0, QString::SectionSkipEmpty);
      return FileNameOf(U("Лунный день ") + (number.isEmpty() ? QString() : number + u' ') + date);
    }
    case kEclipses: return FileNameOf(U("Затмения ") + f_.SpinEdit21->text().trimmed());
    default: return {};
  }
}

std::unique_ptr<QTextDocument> PrintTabs::Document(int tab) const {
  if (!HasResult(tab)) return nullptr;
  const QString title = QFileInfo(SuggestedName(tab)).completeBaseName();
  switch (tab) {
    case kCompat:
      return kvpaint::CompatDocument(f_.compatInputs, kv::Scan1_Points, kv::Scan2_Points);
    case kReport: {
      QString error;
      auto doc = kvpaint::ReportDocument(f_.WebBrowser2->source().toLocalFile(), &error);
      if (!doc) throw std::runtime_error(error.toStdString());
      doc->setMetaInformation(QTextDocument::DocumentTitle, title);
      return doc;
    }
    case kLunar: {
      QString heading = f_.Panel7->caption().trimmed();
      if (heading.isEmpty()) heading = title;  // the phase table: «Лунный календарь 2008»
      return kvpaint::LinesDocument(title, heading, f_.Memo1->toPlainText().split(u'\n'));
    }
    case kEclipses: {
      QStringList lines;
      for (int i = 0; i < f_.ListBox2->count(); ++i) lines << f_.ListBox2->item(i)->text();
      QString heading = U("Затмения %1 года").arg(f_.SpinEdit21->text().trimmed());
      if (const auto& place = f_.Places().UserPlace()) heading += U(", ") + place->ShortName();
      return kvpaint::LinesDocument(title, heading, lines);
    }
    default: return nullptr;
  }
}

std::unique_ptr<QTextDocument> PrintTabs::CurrentDocument() {
  const int tab = f_.PageControl1->currentIndex();
  auto doc = Document(tab);
  if (!doc) {
    const QString name = f_.PageControl1->tabText(tab).trimmed();
    f_.messageBox(tab == kStart ? U("На вкладке «%1» нечего печатать и сохранять.").arg(name)
                                : U("На вкладке «%1» пока нет результата: сначала нажмите "
                                    "«Рассчитать».")
                                      .arg(name),
                  false);
  }
  return doc;
}

QString PrintTabs::PdfFolder() const {
  try {
    RegistryKey key;
    if (key.Open(false) && key.ValueExists(QLatin1String(kPdfDirValue))) {
      QString dir = key.ReadString(QLatin1String(kPdfDirValue));
      if (QFileInfo(dir).isDir()) return dir;
    }
  } catch (const RegistryError&) {
    // No settings: the documents folder serves.
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void PrintTabs::RememberFolder(const QString& folder) const {
  // The PDF is written: a folder that cannot be remembered costs only the
  // offer of the next one.
  try {
    RegistryKey key;
    if (!key.Open(true)) return;
    key.WriteString(QLatin1String(kPdfDirValue), folder);
    key.Close();
  } catch (const RegistryError&) {
  }
}

bool PrintTabs::SavePdf() {
  bool saved = false;
  f_.Dispatch([&] {
    const auto doc = CurrentDocument();
    if (!doc) return;
    const int tab = f_.PageControl1->currentIndex();
    QString file = askPdfFile(QDir(PdfFolder()).filePath(SuggestedName(tab)));
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
    if (const QString error = kvpaint::WritePdf(*doc, file); !error.isEmpty()) {
      f_.ShowError(error);
      return;
    }
    RememberFolder(QFileInfo(file).absolutePath());
    saved = true;
  });
  return saved;
}

bool PrintTabs::PrintWith(bool preview, const QString& pdfFile) {
  bool printed = false;
  f_.Dispatch([&] {
    const auto doc = CurrentDocument();
    if (!doc) return;
    QLibrary module(moduleDir + u'/' + QLatin1String(kPrintModule));
    const auto print = reinterpret_cast<PrintDocumentFn>(module.resolve(kPrintDocument));
    if (!print) {
      f_.ShowError(U("Не удаётся загрузить модуль печати «%1»: %2")
                       .arg(module.fileName(), module.errorString()));
      return;
    }
    printed =
        print(doc.get(), &f_, preview,
              pdfFile.isEmpty() ? nullptr : reinterpret_cast<const char16_t*>(pdfFile.utf16()));
  });
  return printed;
}

bool PrintTabs::Print(bool preview) { return PrintWith(preview, {}); }
bool PrintTabs::PrintToFile(const QString& pdfFile) { return PrintWith(false, pdfFile); }

void PrintTabs::ShowMenu(QWidget* w, const QPoint& pos, QMenu* menu) {
  // Offered where there is something to print; the keys say so otherwise.
  const bool result = HasResult(f_.PageControl1->currentIndex());
  if (!menu->isEmpty()) menu->addSeparator();
  menu->addActions({PrintAction, PreviewAction, PdfAction});
  for (QAction* a : {PrintAction, PreviewAction, PdfAction}) a->setEnabled(result);
  menu->exec(w->mapToGlobal(pos));
  for (QAction* a : {PrintAction, PreviewAction, PdfAction}) a->setEnabled(true);
  delete menu;
}

void PrintTabs::AddMenu(QWidget* w) {
  w->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(w, &QWidget::customContextMenuRequested, this,
          [this, w](const QPoint& pos) { ShowMenu(w, pos, new QMenu(w)); });
}

void PrintTabs::AddMenu(QPlainTextEdit* view) {
  // The menu keeps the view's own entries (copy, select all); a scroll
  // area gives the place in its viewport.
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
    ShowMenu(view->viewport(), pos, view->createStandardContextMenu());
  });
}

void PrintTabs::AddMenu(QTextEdit* view) {
  // The menu keeps the view's own entries (copy, select all); a scroll
  // area gives the place in its viewport.
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
    ShowMenu(view->viewport(), pos, view->createStandardContextMenu());
  });
}

}  // namespace kvapp
