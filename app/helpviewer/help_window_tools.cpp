// The parts of the viewer's window beyond the page itself: the side panes,
// zoom, print, closing from the keyboard, and requests of later starts.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include "app/helpviewer/help_panes.h"
#include "app/helpviewer/help_print.h"
#include "app/helpviewer/help_view_tools.h"
#include "app/helpviewer/help_window.h"

namespace kv::help {

namespace {

constexpr int kLastZoom = int(std::size(kZoomSteps)) - 1;

QAction* NewTool(QWidget* owner, const QString& icon, QStyle::StandardPixmap fallback,
                 const QString& text, const QList<QKeySequence>& keys) {
  return NewAction(owner, QIcon::fromTheme(icon, owner->style()->standardIcon(fallback)), text,
                   keys);
}

}  // namespace

void HelpWindow::SetUpTools(QToolBar* bar) {
  zoom_ = kDefaultZoom;
  moduleDir_ = QApplication::applicationDirPath();

  panes_ = new HelpPanes(archive_, this);
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setChildrenCollapsible(false);
  split->addWidget(panes_);
  split->addWidget(view_);
  split->setStretchFactor(1, 1);
  split->setSizes({260, 880});
  setCentralWidget(split);
  connect(panes_, &HelpPanes::pageRequested, this, &HelpWindow::ShowPage);
  connect(panes_, &HelpPanes::hitOpened, this, &HelpWindow::OpenHit);

  // The panes from the keyboard, as in Qt Assistant.
  const struct {
    const char* text;
    HelpPanes::Pane pane;
    QList<QKeySequence> keys;
  } paneKeys[] = {
      {"Содержание", HelpPanes::Contents, {QKeySequence(Qt::ALT | Qt::Key_C)}},
      {"Указатель", HelpPanes::Index, {QKeySequence(Qt::ALT | Qt::Key_I)}},
      {"Поиск", HelpPanes::Search, {QKeySequence(Qt::ALT | Qt::Key_S), QKeySequence::Find}}};
  for (const auto& p : paneKeys) {
    auto* a = new QAction(QString::fromUtf8(p.text), this);
    a->setShortcuts(p.keys);
    addAction(a);
    connect(a, &QAction::triggered, this, [this, pane = p.pane] { panes_->ShowPane(pane); });
  }

  zoomIn_ = NewTool(this, QStringLiteral("zoom-in"), QStyle::SP_ArrowUp, QStringLiteral("Крупнее"),
                    {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  zoomOut_ = NewTool(this, QStringLiteral("zoom-out"), QStyle::SP_ArrowDown,
                     QStringLiteral("Мельче"), {QKeySequence::ZoomOut});
  zoomReset_ = NewTool(this, QStringLiteral("zoom-original"), QStyle::SP_BrowserReload,
                       QStringLiteral("Обычный размер"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
  print_ = NewTool(this, QStringLiteral("document-print"), QStyle::SP_FileIcon,
                   QStringLiteral("Печать"), {QKeySequence::Print});
  QAction* close = NewTool(this, QStringLiteral("window-close"), QStyle::SP_DialogCloseButton,
                           QStringLiteral("Закрыть"),
                           {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
  connect(zoomIn_, &QAction::triggered, this, [this] { Zoom(1); });
  connect(zoomOut_, &QAction::triggered, this, [this] { Zoom(-1); });
  connect(zoomReset_, &QAction::triggered, this, [this] { Zoom(0); });
  connect(print_, &QAction::triggered, this, [this] { Print(); });
  connect(close, &QAction::triggered, this, &QWidget::close);
  zoomReset_->setEnabled(false);

  bar->addSeparator();
  for (QAction* a : {zoomOut_, zoomIn_, print_}) {
    bar->addAction(a);
    bar->widgetForAction(a)->setFocusPolicy(Qt::TabFocus);
    bar->widgetForAction(a)->setAccessibleName(a->text());
  }

  connect(view_, &QTextBrowser::sourceChanged, this, &HelpWindow::PageLoaded);
}

int HelpWindow::ZoomPercent() const { return kZoomSteps[zoom_]; }

void HelpWindow::Zoom(int steps) {
  const int next = steps == 0 ? kDefaultZoom : qBound(0, zoom_ + steps, kLastZoom);
  if (next == zoom_) return;
  // The same place of the page stays in view.
  QScrollBar* bar = view_->verticalScrollBar();
  const qreal at = bar->maximum() > 0 ? qreal(bar->value()) / bar->maximum() : 0;
  zoom_ = next;
  ApplyZoom(view_->document(), ZoomPercent());
  bar->setValue(qRound(at * bar->maximum()));
  zoomIn_->setEnabled(zoom_ < kLastZoom);
  zoomOut_->setEnabled(zoom_ > 0);
  zoomReset_->setEnabled(zoom_ != kDefaultZoom);
}

void HelpWindow::PageLoaded(const QUrl& url) {
  // A fresh page is drawn at its own size; marks of a search are for the
  // page they were made on.
  if (zoom_ != kDefaultZoom) ApplyZoom(view_->document(), ZoomPercent());
  view_->setExtraSelections({});
  // The browser tells the new address before source() gives it.
  panes_->SetCurrentPage(url.path().mid(1));
}

void HelpWindow::OpenHit(const QString& path, const QStringList& words) {
  ShowPage(path);
  const QList<QTextEdit::ExtraSelection> marks = MarkWords(view_->document(), words);
  view_->setExtraSelections(marks);
  if (!marks.isEmpty()) {
    QTextCursor first = marks.front().cursor;
    first.clearSelection();
    view_->setTextCursor(first);
    // The first mark a third of the way down, with the text before it in view.
    QScrollBar* bar = view_->verticalScrollBar();
    bar->setValue(bar->value() + view_->cursorRect(first).top() - view_->viewport()->height() / 3);
  }
}

bool HelpWindow::Print(const QString& pdfFile) {
  QString error;
  const PrintPageFn print = LoadPrintModule(moduleDir_, &error);
  if (!print) {
    QMessageBox::warning(this, windowTitle(), error);
    return false;
  }
  return print(view_->document(), this,
               pdfFile.isEmpty() ? nullptr : reinterpret_cast<const char16_t*>(pdfFile.utf16()));
}

void HelpWindow::ShowRequested(const QString& local) {
  ShowPage(local.isEmpty() ? homePage_ : local);
  BringToFront();
}

void HelpWindow::BringToFront() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

}  // namespace kv::help
