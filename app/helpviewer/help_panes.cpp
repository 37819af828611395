#include "app/helpviewer/help_panes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_search.h"
#include "app/helpviewer/help_sitemap.h"

namespace kv::help {

namespace {

constexpr int kLocalRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

QString WithoutAnchor(const QString& local) { return local.left(local.indexOf(u'#')); }

QList<SitemapEntry> ReadSitemap(const ChmArchive& archive, const QString& file) {
  if (file.isEmpty()) return {};
  const std::optional<QByteArray> data = archive.Read(file);
  return data ? ParseSitemap(*data) : QList<SitemapEntry>{};
}

void AddTocItems(QTreeWidgetItem* parent, QTreeWidget* tree, const QList<SitemapEntry>& entries) {
  for (const SitemapEntry& e : entries) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, e.name);
    item->setToolTip(0, e.name);
    if (!e.locals.isEmpty()) item->setData(0, kLocalRole, e.locals.front());
    AddTocItems(item, tree, e.children);
  }
}

// Sub-keywords are listed under their keyword's name: "Луна, фазы".
void AddIndexItems(QListWidget* list, const QString& prefix, const QList<SitemapEntry>& entries) {
  for (const SitemapEntry& e : entries) {
    const QString name = prefix.isEmpty() ? e.name : prefix + QStringLiteral(", ") + e.name;
    if (!e.locals.isEmpty()) {
      auto* item = new QListWidgetItem(name, list);
      item->setData(kLocalRole, e.locals.front());
    }
    AddIndexItems(list, name, e.children);
  }
}

QWidget* NewPage(QTabWidget* tabs, const QString& title) {
  auto* page = new QWidget(tabs);
  page->setAccessibleName(title);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  tabs->addTab(page, title);
  return page;
}

// A message in the place of an empty list.
QLabel* Note(QWidget* page, const QString& text) {
  auto* label = new QLabel(text, page);
  label->setWordWrap(true);
  page->layout()->addWidget(label);
  return label;
}

}  // namespace

HelpPanes::HelpPanes(const ChmArchive& archive, QWidget* parent)
    : QTabWidget(parent), archive_(archive) {
  setAccessibleName(QStringLiteral("Панель справки"));
  setDocumentMode(true);
  NewPage(this, QStringLiteral("Содержание"));
  NewPage(this, QStringLiteral("Указатель"));
  NewPage(this, QStringLiteral("Поиск"));
  connect(this, &QTabWidget::currentChanged, this, [this](int pane) {
    if (isVisible()) Build(pane);
  });
}

HelpPanes::~HelpPanes() = default;

void HelpPanes::showEvent(QShowEvent* event) {
  QTabWidget::showEvent(event);
  Build(currentIndex());
}

bool HelpPanes::IsBuilt(Pane pane) const { return built_[pane]; }

void HelpPanes::Build(int pane) {
  if (pane < 0 || pane > Search || built_[pane]) return;
  built_[pane] = true;
  QWidget* page = widget(pane);
  if (pane == Contents) BuildContents(page);
  if (pane == Index) BuildIndex(page);
  if (pane == Search) BuildSearch(page);
  // Children added to a page on screen would only show at the next turn of
  // the event loop, too late for the keyboard to go to them now.
  if (page->isVisible())
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->show();
}

void HelpPanes::ShowPane(Pane pane) {
  setCurrentIndex(pane);
  Build(pane);
  QWidget* first = pane == Contents ? static_cast<QWidget*>(tree_)
                   : pane == Index  ? static_cast<QWidget*>(indexField_)
                                    : static_cast<QWidget*>(searchField_);
  if (first) {
    first->setFocus(Qt::ShortcutFocusReason);
    if (auto* field = qobject_cast<QLineEdit*>(first)) field->selectAll();
  }
}

void HelpPanes::SetCurrentPage(const QString& path) {
  currentPage_ = WithoutAnchor(path);
  if (!tree_) return;
  // The entry of the page itself before one of its anchors.
  QTreeWidgetItem* found = nullptr;
  for (QTreeWidgetItemIterator it(tree_); *it && !found; ++it)
    if ((*it)->data(0, kLocalRole).toString().compare(currentPage_, Qt::CaseInsensitive) == 0)
      found = *it;
  for (QTreeWidgetItemIterator it(tree_); *it && !found; ++it)
    if (WithoutAnchor((*it)->data(0, kLocalRole).toString())
            .compare(currentPage_, Qt::CaseInsensitive) == 0)
      found = *it;
  const QSignalBlocker block(tree_);
  if (found)
    tree_->setCurrentItem(found);
  else
    tree_->clearSelection();
}

void HelpPanes::BuildContents(QWidget* page) {
  tree_ = new QTreeWidget(page);
  tree_->setAccessibleName(QStringLiteral("Содержание справки"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setUniformRowHeights(true);
  AddTocItems(nullptr, tree_, ReadSitemap(archive_, archive_.ContentsFile()));
  tree_->expandAll();
  page->layout()->addWidget(tree_);
  if (tree_->topLevelItemCount() == 0)
    Note(page, QStringLiteral("В файле справки нет содержания."));
  const auto open = [this](QTreeWidgetItem* item) {
    const QString local = item ? item->data(0, kLocalRole).toString() : QString();
    if (!local.isEmpty()) emit pageRequested(local);
  };
  connect(tree_, &QTreeWidget::itemActivated, this, open);
  connect(tree_, &QTreeWidget::itemClicked, this, open);
  SetCurrentPage(currentPage_);
}

void HelpPanes::BuildIndex(QWidget* page) {
  indexField_ = new QLineEdit(page);
  indexField_->setAccessibleName(QStringLiteral("Ключевое слово"));
  indexField_->setPlaceholderText(QStringLiteral("Ключевое слово"));
  indexField_->setClearButtonEnabled(true);
  indexList_ = new QListWidget(page);
  indexList_->setAccessibleName(QStringLiteral("Указатель справки"));
  indexList_->setUniformItemSizes(true);
  AddIndexItems(indexList_, {}, ReadSitemap(archive_, archive_.IndexFile()));
  page->layout()->addWidget(indexField_);
  page->layout()->addWidget(indexList_);
  if (indexList_->count() == 0) Note(page, QStringLiteral("В файле справки нет указателя."));
  indexField_->installEventFilter(this);
  connect(indexField_, &QLineEdit::textChanged, this, &HelpPanes::FilterIndex);
  connect(indexField_, &QLineEdit::returnPressed, this, &HelpPanes::OpenIndexEntry);
  connect(indexList_, &QListWidget::itemActivated, this, &HelpPanes::OpenIndexEntry);
  connect(indexList_, &QListWidget::itemClicked, this, &HelpPanes::OpenIndexEntry);
}

// The keywords holding what is typed stay in the list; the first that
// begins with it is chosen, as the Windows viewer does.
void HelpPanes::FilterIndex(const QString& text) {
  const QString typed = Folded(text.trimmed());
  QListWidgetItem* choice = nullptr;
  QListWidgetItem* firstShown = nullptr;
  for (int i = 0; i < indexList_->count(); ++i) {
    QListWidgetItem* item = indexList_->item(i);
    const QString name = Folded(item->text());
    const bool shown = name.contains(typed);
    item->setHidden(!shown);
    if (shown && !firstShown) firstShown = item;
    if (shown && !choice && name.startsWith(typed)) choice = item;
  }
  if (!choice) choice = firstShown;
  indexList_->setCurrentItem(choice);
  if (choice) indexList_->scrollToItem(choice);
}

void HelpPanes::OpenIndexEntry() {
  const QListWidgetItem* item = indexList_->currentItem();
  if (item && !item->isHidden()) emit pageRequested(item->data(kLocalRole).toString());
}

// Up and Down in a field move through its list, as in other help viewers.
// Esc in a field holding text clears it; only the next Esc closes the viewer.
bool HelpPanes::eventFilter(QObject* watched, QEvent* event) {
  const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
  auto* field = watched == indexField_ || watched == searchField_ ? static_cast<QLineEdit*>(watched)
                                                                  : nullptr;
  if (key && field && !field->text().isEmpty() &&
      static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::Key_Escape)) {
    event->accept();
    if (event->type() == QEvent::KeyPress) field->clear();
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    QListWidget* list = watched == indexField_    ? indexList_
                        : watched == searchField_ ? results_
                                                  : nullptr;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (list && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                 key == Qt::Key_PageDown)) {
      if (watched == searchField_) list->setFocus(Qt::OtherFocusReason);
      QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
      QCoreApplication::sendEvent(list, &copy);
      return true;
    }
  }
  return QTabWidget::eventFilter(watched, event);
}

void HelpPanes::BuildSearch(QWidget* page) {
  searchField_ = new QLineEdit(page);
  searchField_->setAccessibleName(QStringLiteral("Слова для поиска"));
  searchField_->setPlaceholderText(QStringLiteral("Слова для поиска"));
  searchField_->setClearButtonEnabled(true);
  searchButton_ = new QPushButton(QStringLiteral("Найти"), page);
  searchButton_->setAccessibleName(QStringLiteral("Найти"));
  auto* row = new QHBoxLayout;
  row->addWidget(searchField_, 1);
  row->addWidget(searchButton_);
  static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
  status_ = new QLabel(page);
  status_->setWordWrap(true);
  page->layout()->addWidget(status_);
  results_ = new QListWidget(page);
  results_->setAccessibleName(QStringLiteral("Найденные страницы"));
  results_->setWordWrap(true);
  results_->setTextElideMode(Qt::ElideNone);
  page->layout()->addWidget(results_);
  status_->setBuddy(results_);
  searchField_->installEventFilter(this);
  connect(searchField_, &QLineEdit::returnPressed, this, &HelpPanes::RunSearch);
  connect(searchButton_, &QPushButton::clicked, this, &HelpPanes::RunSearch);
  const auto open = [this](QListWidgetItem* item) {
    if (item) emit hitOpened(item->data(kPathRole).toString(), words_);
  };
  connect(results_, &QListWidget::itemActivated, this, open);
  connect(results_, &QListWidget::itemClicked, this, open);
}

void HelpPanes::RunSearch() {
  if (!searchField_) Build(Search);
  if (!index_) index_ = std::make_unique<SearchIndex>(SearchIndex::Of(archive_));
  results_->clear();
  words_ = QueryWords(searchField_->text());
  if (words_.isEmpty()) {
    status_->setText(QStringLiteral("Введите слова для поиска."));
    return;
  }
  const QList<SearchHit> hits = index_->Find(searchField_->text());
  for (const SearchHit& hit : hits) {
    auto* item = new QListWidgetItem(hit.title + u'\n' + hit.excerpt, results_);
    item->setData(kPathRole, hit.path);
    item->setToolTip(QStringLiteral("%1: совпадений — %2").arg(hit.title).arg(hit.count));
  }
  status_->setText(hits.isEmpty() ? QStringLiteral("Ничего не найдено.")
                                  : QStringLiteral("Найдено страниц: %1").arg(hits.size()));
  status_->setAccessibleName(status_->text());
  if (!hits.isEmpty()) results_->setCurrentRow(0);
}

}  // namespace kv::help
