#include "app/helpviewer/help_window.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <unistd.h>

#include "app/helpviewer/help_page.h"

namespace kv::help {

namespace {

constexpr int kPathRole = Qt::UserRole;
const QString kFallbackHome = QStringLiteral("10.html");

bool Local(const QUrl& url) {
  const QString s = url.scheme();
  return s == QLatin1String(kScheme) || s == u"data" || s == u"blob" || s == u"about";
}

// The page path of a chm: address, without the leading '/'.
QString PathOf(const QUrl& url) {
  QString p = url.path(QUrl::FullyDecoded);
  while (p.startsWith(u'/')) p.remove(0, 1);
  return p;
}

class ChmHandler : public QWebEngineUrlSchemeHandler {
 public:
  ChmHandler(std::shared_ptr<const ChmArchive> archive, QObject* parent)
      : QWebEngineUrlSchemeHandler(parent), archive_(std::move(archive)) {}

  void requestStarted(QWebEngineUrlRequestJob* job) override {
    if (job->requestMethod() != "GET") {
      job->fail(QWebEngineUrlRequestJob::RequestDenied);
      return;
    }
    const Reply r = ServePage(*archive_, PathOf(job->requestUrl()));
    auto* buffer = new QBuffer(job);
    buffer->setData(r.body);
    job->reply(r.mimeType, buffer);
  }

 private:
  std::shared_ptr<const ChmArchive> archive_;
};

// The help never goes to the network: only its own pages load.
class LocalOnly : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    if (!Local(info.requestUrl())) info.block(true);
  }
};

// Links out of the help file open in the system's browser or mail program.
class HelpPage : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
    if (Local(url)) return true;
    if (type == NavigationTypeLinkClicked) QDesktopServices::openUrl(url);
    return false;
  }
  // target="_blank" and window.open stay in the one window.
  QWebEnginePage* createWindow(WebWindowType) override { return this; }
};

// The style has no home picture of its own: a small house in the colours of
// its arrows.
QIcon HomeIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x5a, 0x5a, 0x5a), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0x9a, 0x9a, 0x9a));
  p.drawPolygon(QPolygonF({{4, 16}, {16, 4}, {28, 16}, {24.5, 16}, {24.5, 28}, {7.5, 28}, {7.5, 16}}));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(13, 19, 6, 9));
  return QIcon(pm);
}

}  // namespace

void PrepareApplication() {
  QWebEngineUrlScheme scheme(kScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                  QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);

  // Chromium refuses to start its sandbox as root.
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  // Without a display there is no GL; software compositing draws the pages.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.startsWith("offscreen") || platform.startsWith("minimal")) {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--disable-gpu")) {
      flags += flags.isEmpty() ? "--disable-gpu" : " --disable-gpu";
      qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
    : QMainWindow(parent), archive_(std::make_shared<const ChmArchive>(request.file)) {
  const std::vector<TocEntry> contents = archive_->Contents();
  home_ = archive_->DefaultTopic();
  if (home_.isEmpty() && !contents.empty()) home_ = NormalizeLocal(contents.front().local);
  if (home_.isEmpty()) home_ = kFallbackHome;

  // Off the record: nothing of the help is kept on disk between runs.
  profile_ = new QWebEngineProfile(this);
  profile_->installUrlSchemeHandler(kScheme, new ChmHandler(archive_, profile_));
  profile_->setUrlRequestInterceptor(new LocalOnly(profile_));

  auto* split = new QSplitter(this);
  toc_ = new QTreeWidget(split);
  toc_->setHeaderHidden(true);
  toc_->setColumnCount(1);
  toc_->setRootIsDecorated(false);
  toc_->setUniformRowHeights(true);
  toc_->setIndentation(14);
  toc_->header()->setStretchLastSection(true);
  QFont tocFont = toc_->font();
  tocFont.setPointSizeF(tocFont.pointSizeF() + 1);
  toc_->setFont(tocFont);
  toc_->setStyleSheet(QStringLiteral("QTreeWidget{padding:4px 2px} QTreeWidget::item{padding:3px 2px}"));
  FillContents(nullptr, contents);
  toc_->expandAll();
  toc_->setVisible(toc_->topLevelItemCount() > 0);

  view_ = new QWebEngineView(split);
  view_->setPage(new HelpPage(profile_, view_));
  split->addWidget(toc_);
  split->addWidget(view_);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 760});
  split->setChildrenCollapsible(false);
  setCentralWidget(split);

  QToolBar* bar = addToolBar(QStringLiteral("Переходы"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->toggleViewAction()->setVisible(false);
  QAction* back = view_->pageAction(QWebEnginePage::Back);
  back->setText(QStringLiteral("Назад"));
  back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  back->setShortcut(QKeySequence::Back);
  QAction* forward = view_->pageAction(QWebEnginePage::Forward);
  forward->setText(QStringLiteral("Вперёд"));
  forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
  forward->setShortcut(QKeySequence::Forward);
  QAction* home = new QAction(QIcon::fromTheme(QStringLiteral("go-home"), HomeIcon()),
                              QStringLiteral("В начало"), this);
  connect(home, &QAction::triggered, this, [this] { ShowPage(home_); });
  bar->addAction(back);
  bar->addAction(forward);
  bar->addAction(home);
  addAction(back);
  addAction(forward);

  QAction* copy = view_->pageAction(QWebEnginePage::Copy);
  copy->setText(QStringLiteral("Копировать"));
  QAction* selectAll = view_->pageAction(QWebEnginePage::SelectAll);
  selectAll->setText(QStringLiteral("Выделить всё"));
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, [=, this](const QPoint& at) {
    QMenu menu(view_);
    menu.addAction(back);
    menu.addAction(forward);
    menu.addSeparator();
    menu.addAction(copy);
    menu.addAction(selectAll);
    menu.exec(view_->mapToGlobal(at));
  });

  connect(toc_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const QString local = item->data(0, kPathRole).toString();
    if (!local.isEmpty()) ShowPage(local);
  });
  connect(toc_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString local = item->data(0, kPathRole).toString();
    if (!local.isEmpty()) ShowPage(local);
  });
  connect(view_, &QWebEngineView::urlChanged, this, &HelpWindow::SyncContents);
  connect(view_, &QWebEngineView::titleChanged, this, &HelpWindow::UpdateTitle);

  UpdateTitle({});
  // Wide enough for the pages' navigation bar on one line.
  resize(QSize(960, 680).boundedTo(screen()->availableSize()));
  ShowPage(request.page.isEmpty() ? home_ : request.page);
}

HelpWindow::~HelpWindow() {
  // The page must go before the profile it was made with.
  delete view_;
}

void HelpWindow::ShowPage(const QString& local) { view_->setUrl(PageUrl(local)); }

void HelpWindow::FillContents(QTreeWidgetItem* parent, const std::vector<TocEntry>& entries) {
  for (const TocEntry& e : entries) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(toc_);
    item->setText(0, e.name.isEmpty() ? e.local : e.name);
    item->setToolTip(0, item->text(0));
    item->setData(0, kPathRole, NormalizeLocal(e.local));
    if (!e.children.empty()) toc_->setRootIsDecorated(true);
    FillContents(item, e.children);
  }
}

// Marks the contents line of the page shown, preferring one with the same
// anchor; clears the mark on a page the contents do not list.
void HelpWindow::SyncContents(const QUrl& url) {
  const QString path = PathOf(url);
  const QString withAnchor = url.hasFragment() ? path + u'#' + url.fragment(QUrl::FullyDecoded) : path;
  QTreeWidgetItem* best = nullptr;
  for (QTreeWidgetItemIterator it(toc_); *it; ++it) {
    const QString local = (*it)->data(0, kPathRole).toString();
    if (local.compare(withAnchor, Qt::CaseInsensitive) == 0) {
      best = *it;
      break;
    }
    if (!best && local.section(u'#', 0, 0).compare(path, Qt::CaseInsensitive) == 0) best = *it;
  }
  const QSignalBlocker block(toc_);
  toc_->setCurrentItem(best);
  if (!best) toc_->clearSelection();
}

void HelpWindow::UpdateTitle(const QString& pageTitle) {
  QString title = pageTitle.trimmed();
  // A page without a <title> reports its address instead.
  if (title.isEmpty() || title.startsWith(QLatin1String(kScheme) + u':')) title = archive_->Title();
  if (title.isEmpty()) title = QStringLiteral("Справка");
  setWindowTitle(title);
}

}  // namespace kv::help
