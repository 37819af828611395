#include "app/helpviewer/help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QStringDecoder>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QToolBar>

#include <utility>
#include <vector>

#include "app/accessible.h"
#include "app/helpviewer/help_page.h"
#include "app/helpviewer/outside_link.h"

namespace kv::help {

namespace {

const QString kFallbackHome = QStringLiteral("10.html");

// The page path of a chm: address, without the leading '/'.
QString PathOf(const QUrl& url) {
  QString p = url.path(QUrl::FullyDecoded);
  while (p.startsWith(u'/')) p.remove(0, 1);
  return p;
}

class Browser : public QTextBrowser {
 public:
  Browser(const ChmArchive& archive, QWidget* parent) : QTextBrowser(parent), archive_(archive) {}

  // Every object comes out of the help file. Each answer is a value, never
  // nothing: on nothing the text document would look for the name on disk.
  QVariant loadResource(int type, const QUrl& name) override {
    const QUrl url = source().resolved(name);
    Reply r;
    if (url.scheme() == QLatin1String(kScheme)) r = ServePage(archive_, PathOf(url));
    // A page that is missing becomes its message; a picture or stylesheet
    // that is missing stays missing.
    if (type == QTextDocument::HtmlResource)
      return ViewedPageText(r.body, PathOf(url), archive_.FileName());
    if (r.found) return r.body;
    if (type == QTextDocument::ImageResource)
      return QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    return QByteArray();
  }

 private:
  const ChmArchive& archive_;
};

// How deep frames (tables, their cells' tables, floating boxes) nest.
int FrameDepth(QTextFrame* root) {
  int deepest = 0;
  std::vector<std::pair<QTextFrame*, int>> todo{{root, 0}};  // no recursion: any depth is measured
  while (!todo.empty()) {
    const auto [frame, depth] = todo.back();
    todo.pop_back();
    deepest = std::max(deepest, depth);
    for (QTextFrame* child : frame->childFrames()) todo.emplace_back(child, depth + 1);
  }
  return deepest;
}

// A page parsed to be measured, never laid out. It reads nothing: a
// document's own loader would read a stylesheet from the disk, even
// "@import '/dev/zero'" for ever.
class Probe : public QTextDocument {
 protected:
  QVariant loadResource(int, const QUrl&) override { return QByteArray(); }
};

// How deep the table tags nest as written, closing tags that close nothing
// aside.
int WrittenDepth(QStringView text) {
  int depth = 0, deepest = 0;
  for (qsizetype i = text.indexOf(u'<'); i >= 0; i = text.indexOf(u'<', i + 1)) {
    const QStringView tag = text.mid(i + 1);
    if (tag.startsWith(u"table", Qt::CaseInsensitive))
      deepest = std::max(deepest, ++depth);
    else if (tag.startsWith(u"/table", Qt::CaseInsensitive) && depth > 0)
      --depth;
  }
  return deepest;
}

}  // namespace

QAction* NewAction(QWidget* owner, const QIcon& icon, const QString& text,
                   const QList<QKeySequence>& keys) {
  auto* a = new QAction(icon, text, owner);
  a->setShortcuts(keys);
  a->setToolTip(text + QStringLiteral(" (") + keys.front().toString(QKeySequence::NativeText) +
                u')');
  owner->addAction(a);
  return a;
}

QString ViewedPageText(const QByteArray& body, const QString& path, const QString& file) {
  // As the browser reads bytes: the charset the page declares, else UTF-8.
  QStringDecoder decoder = QStringDecoder::decoderForHtml(body);
  if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
  QString text = decoder(body);
  // Every nested frame but a floating picture begins with a table: a page
  // with few of them needs no look.
  if (text.count(QLatin1String("<table"), Qt::CaseInsensitive) <= kMaxNesting) return text;
  // Far too deep as written: refused without the parse, which takes seconds
  // for thousands of levels. Nearer the limit the parse decides.
  if (WrittenDepth(text) > 4 * kMaxNesting)
    return QString::fromUtf8(TooDeepPage(path, file, kMaxNesting));
  Probe probe;
  probe.setHtml(text);
  if (FrameDepth(probe.rootFrame()) > kMaxNesting)
    return QString::fromUtf8(TooDeepPage(path, file, kMaxNesting));
  return text;
}

QUrl PageUrl(const QString& local) {
  const QString page = NormalizeLocal(local);
  QUrl outside(page);
  if (outside.scheme().size() > 1 && !outside.scheme().startsWith(u"ms-its", Qt::CaseInsensitive))
    return outside;  // http:, mailto: and the like
  const qsizetype hash = page.indexOf(u'#');
  QUrl url;
  url.setScheme(QLatin1String(kScheme));
  url.setPath(u'/' + (hash < 0 ? page : page.left(hash)), QUrl::DecodedMode);
  if (hash >= 0) url.setFragment(page.mid(hash + 1), QUrl::DecodedMode);
  return url;
}

HelpWindow::HelpWindow(const HelpRequest& request, QWidget* parent)
    : QMainWindow(parent), archive_(request.file) {
  homePage_ = archive_.DefaultTopic().isEmpty() ? kFallbackHome : archive_.DefaultTopic();

  view_ = new Browser(archive_, this);
  kvapp::ExposeAsDocument(view_);
  view_->setOpenLinks(false);
  view_->setFrameShape(QFrame::NoFrame);
  // Long file names in the messages break anywhere rather than run off the page.
  view_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  view_->setAccessibleName(QStringLiteral("Страница справки"));
  // The navigation bar runs from edge to edge; the pages keep their own margins.
  view_->document()->setDocumentMargin(0);

  back_ = NewAction(this, style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"),
                    QKeySequence::keyBindings(QKeySequence::Back));
  forward_ = NewAction(this, style()->standardIcon(QStyle::SP_ArrowForward),
                       QStringLiteral("Вперёд"), QKeySequence::keyBindings(QKeySequence::Forward));
  home_ = NewAction(
      this,
      QIcon::fromTheme(QStringLiteral("go-home"), style()->standardIcon(QStyle::SP_DirHomeIcon)),
      QStringLiteral("В начало"), {QKeySequence(Qt::ALT | Qt::Key_Home)});
  back_->setEnabled(false);
  forward_->setEnabled(false);
  QToolBar* bar = addToolBar(QStringLiteral("Переходы"));
  bar->setAccessibleName(bar->windowTitle());
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->toggleViewAction()->setVisible(false);
  for (QAction* a : {back_, forward_, home_}) {
    bar->addAction(a);
    bar->widgetForAction(a)->setFocusPolicy(Qt::TabFocus);
  }
  SetUpTools(bar);

  connect(back_, &QAction::triggered, view_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, view_, &QTextBrowser::forward);
  connect(home_, &QAction::triggered, this, [this] { ShowPage(homePage_); });
  connect(view_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(view_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  connect(view_, &QTextBrowser::anchorClicked, this, &HelpWindow::Follow);
  connect(view_, &QTextBrowser::sourceChanged, this, &HelpWindow::UpdateTitle);

  // The browser's own menu speaks English; this one the language of the help.
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(view_);
    menu.addActions({back_, forward_, home_});
    menu.addSeparator();
    menu.addActions({zoomIn_, zoomOut_, zoomReset_, print_});
    menu.addSeparator();
    QAction* copy = menu.addAction(QStringLiteral("Копировать"), view_, &QTextBrowser::copy);
    copy->setEnabled(view_->textCursor().hasSelection());
    menu.addAction(QStringLiteral("Выделить всё"), view_, &QTextBrowser::selectAll);
    menu.exec(view_->viewport()->mapToGlobal(at));
  });

  // Wide enough for the panes and the pages' navigation bar on one line.
  resize(QSize(1140, 720).boundedTo(screen()->availableSize()));
  ShowPage(request.page.isEmpty() ? homePage_ : request.page);
  view_->setFocus();
}

void HelpWindow::ShowPage(const QString& local) { Follow(PageUrl(local)); }

// Pages of the help file open here; links out of it go to the user's browser
// or mail program; anything else (a file on disk, an unknown scheme) nowhere.
void HelpWindow::Follow(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  if (scheme == QLatin1String(kScheme))
    view_->setSource(url);
  else if (const QUrl outside = OutsideLink(url); !outside.isEmpty())
    QDesktopServices::openUrl(outside);
}

void HelpWindow::UpdateTitle() {
  QString title = view_->documentTitle().trimmed();
  if (title.isEmpty()) title = archive_.Title();
  if (title.isEmpty()) title = QStringLiteral("Справка");
  setWindowTitle(title);
}

}  // namespace kv::help
